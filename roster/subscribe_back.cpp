#include "roster/subscribe_back.h"

#include <cctype>
#include <string>
#include <utility>

#include "xmpp/operations.h"

namespace {

mstring LowerCase(const char* jid) {
  std::string text(jid ? jid : "");
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return mstring(text.c_str());
}

}  // namespace

MSubscribeBack::MSubscribeBack(Sender sender) : sender_(std::move(sender)) {}

bool MSubscribeBack::Ask(const char* jid) {
  if (!jid || !*jid || !sender_) {
    return false;
  }
  mstring key = LowerCase(jid);
  if (asked_.count(key) != 0 || sender_(jid) < 0) {
    return false;
  }
  asked_.insert(key);
  return true;
}

void MSubscribeBack::Reset() {
  asked_.clear();
}

MSubscribeBack::Sender SubscribeSenderFor(MJabberSession* session) {
  return [session](const char* jid) { return send_subscribe(session, jid); };
}
