#include "roster/subscribe_back.h"

#include <string>
#include <utility>

#include "xmpp/operations.h"

MSubscribeBack::MSubscribeBack(Sender sender) : sender_(std::move(sender)) {}

bool MSubscribeBack::Ask(const char* jid) {
  if (!jid || !*jid || !sender_) {
    return false;
  }
  std::string key = mstrfold(jid);
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
