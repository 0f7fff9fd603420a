#include "app/conference_presence.h"

#include "app/app.h"
#include "ui/chat_format.h"
#include "ui/chat_wnd.h"
#include "ui/muc_roster_wnd.h"
#include "xml/text_convert.h"

void MConferencePresence::Show(packet* p) {
  mstring from = packet_from(p);
  std::uint32_t slash = from.find('/');
  if (slash == mstring::npos || app_->chatWindow == nullptr) {
    return;
  }
  mstring room = from.substr(0, slash);
  mstring nickname = from.substr(slash + 1);
  MChatWnd& chat = *app_->chatWindow;
  ChatRecord* record = chat.FindChat(room, kChatConference);
  if (record == nullptr) {
    return;
  }
  char type[64];
  char role[64];
  char affiliation[64];
  char show[64];
  packet_muc_presence(p, field_buf{type, sizeof type}, field_buf{role, sizeof role},
                      field_buf{affiliation, sizeof affiliation}, field_buf{show, sizeof show});
  bool present = record->participants.count(nickname) != 0;
  MucParticipant& occupant = record->participants[nickname];
  mstring previousShow = occupant.show;
  occupant = MucParticipant{role, affiliation, show};

  wmstring name = ProtectMarkup(utf8_to_wide(nickname));
  auto append = [&](const wmstring& line) {
    chat.AppendToHistory(record, u"<B><P>" + line + u"</P></B>", false);
    if (chat.CurrentChat() == record) {
      chat.Redraw();
    }
  };
  if (show[0] != '\0' && previousShow != show) {
    append(name + u"'s status is now '" + ProtectMarkup(utf8_to_wide(show)) + u"'.");
  }
  if (mstring(type) == "available") {
    if (!present) {
      append(name + u" has joined.");
    }
  } else {
    append(name + u" has left.");
    record->participants.erase(nickname);
  }
  if (app_->mucRosterWindow != nullptr && chat.CurrentChat() == record) {
    app_->mucRosterWindow->ShowParticipants(*record);
  }
}
