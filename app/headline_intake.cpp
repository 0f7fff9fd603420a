#include "app/headline_intake.h"

#include "alerts/headline_wnd.h"
#include "app/app.h"
#include "app/headline_message.h"
#include "xml/jid.h"
#include "xml/text_convert.h"
#include "xmpp/session.h"

namespace {

mstring BareSender(packet* p) {
  mstring from = packet_from(p);
  return from.substr(0, from.find('/'));
}

}  // namespace

bool MHeadlineIntake::Receive(packet* p) {
  if (viewer_ == nullptr || !IsHeadlineMessage(p)) {
    return false;
  }
  mstring bare = BareSender(p);
  HeadlineSender sender;
  sender.ownDomain = app_->session != nullptr ? session_server(app_->session) : mstring();
  RosterItem entry = app_->roster->GetItem(bare.c_str(), "");
  if (!entry.jid.empty() && !entry.name.empty() && !(entry.group == u"Services")) {
    sender.rosterContact = true;
    sender.rosterName = entry.name;
  }
  std::optional<Headline> headline = HeadlineFromMessage(p, sender);
  if (!headline) {
    return false;
  }
  wmstring text = u"Headline from " + headline->source + u": " +
                  (headline->title.empty() ? headline->description : headline->title);
  viewer_->AddHeadline(std::move(*headline));
  if (notifier_ != nullptr && app_->settings->enablePopups) {
    notifier_->ShowPopup(utf8_to_wide(bare), text);
  }
  return true;
}
