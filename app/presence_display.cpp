#include "app/presence_display.h"

#include <cstring>
#include <memory>

#include "app/app.h"
#include "app/jabber_wnd.h"
#include "app/roster_link.h"
#include "roster/roster_messages.h"
#include "ui/chat_format.h"
#include "ui/html_wnd.h"
#include "xml/text_convert.h"
#include "xmpp/session.h"

MPresenceDisplay::MPresenceDisplay(MApp* app, MRosterLink* roster, INotifier* notifier)
    : app_(app), roster_(roster), notifier_(notifier) {}

bool MPresenceDisplay::Quiet() const {
  double elapsed = static_cast<double>(session_now_filetime() - roster_->RosterArrivalTime());
  return elapsed < static_cast<double>(quietPeriod_);
}

void MPresenceDisplay::Show(packet* p, bool online) {
  mstring from = packet_from(p);
  std::uint32_t slash = from.find('/');
  mstring bare = from.substr(0, slash);
  mstring resource = slash == mstring::npos ? mstring() : from.substr(slash + 1);
  MJabberRoster& model = *app_->roster;
  if (bare.find('@') == mstring::npos) {
    // A gateway or the server: only its service entry shows the state.
    RosterItem service = model.GetItem(bare.c_str(), "");
    if (!service.jid.empty()) {
      PostPresence(service, resource, p, online);
    }
    return;
  }
  RosterItem contact = model.GetItem(bare.c_str(), resource.c_str());
  if (contact.name.empty()) {
    contact = model.GetItem(bare.c_str(), "");
  }
  if (contact.name.empty()) {
    return;
  }
  bool wasOnline = model.GetOnline(bare.c_str(), resource.c_str()) != 0;
  PostPresence(contact, resource, p, online);
  Notify(contact, from.c_str(), online, wasOnline);
  if (!online || !wasOnline) {
    AppendToContactWindow(contact, online);
  }
}

// The status arrives with its entities already decoded by the XML parser; decoding it again
// would turn a literal "&lt;" the contact typed into "<".
void MPresenceDisplay::PostPresence(const RosterItem& entry, const mstring& resource, packet* p,
                                    bool online) {
  auto* record = new RosterItem(entry);
  record->online = online ? 1 : 0;
  record->resource = resource;
  record->show = packet_show(p);
  record->status = packet_status(p);
  SendMessage(app_->mainFrame->GetHwnd(), UM_ROSTER_PRESENCE, 0, reinterpret_cast<LPARAM>(record));
}

void MPresenceDisplay::Notify(const RosterItem& contact, const char* from, bool online,
                              bool wasOnline) {
  if (Quiet()) {
    return;
  }
  const MSettings& settings = *app_->settings;
  if (settings.soundEnterSupport) {
    if (settings.soundSupport) {
      notifier_->PlayEventSound(online ? EventSound::Enter : EventSound::Exit);
    }
    if (settings.vibrateSupport) {
      notifier_->Vibrate(settings.vibrationDuration);
    }
  }
  if (online && !wasOnline && settings.enablePopups) {
    wmstring text = contact.name + utf8_to_wide(" (" + contact.jid + ") is online.");
    notifier_->ShowPopup(utf8_to_wide(mstring(from)), text);
  }
}

void MPresenceDisplay::AppendToContactWindow(const RosterItem& contact, bool online) {
  auto* window =
      dynamic_cast<MHtmlWnd*>(app_->windows.FindByName(utf8_to_wide(contact.jid).c_str()));
  if (window == nullptr) {
    return;
  }
  // Text from the network (a nickname, an address) is protected: never markup.
  wmstring line = u"<B><P>" + ProtectMarkup(contact.name) + u" (" +
                  ProtectMarkup(utf8_to_wide(contact.jid)) +
                  (online ? u") is online.</P></B>" : u") is offline.</P></B>");
  window->Append(line.c_str());
  window->Redraw();
}
