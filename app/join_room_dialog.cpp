// "Join Room": the room's address, the nickname to enter it under and the room's password (if
// it has one). The conversation opens at once; the room's occupants arrive as they answer.
#include "app/app.h"
#include "app/chat_operations.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "xml/text_convert.h"

namespace {

constexpr int kRoom = kJoinRoomAddress;
constexpr int kNickname = kJoinRoomNickname;
constexpr int kPassword = kJoinRoomPassword;

MChatOperations* g_operations = nullptr;

bool ValidRoom(const mstring& room) {
  std::uint32_t at = room.find('@');
  return at != mstring::npos && at > 0 && at + 1 < room.length() &&
         room.find('/') == mstring::npos && room.find(' ') == mstring::npos;
}

LRESULT JoinRoomProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextW(dialog, kNickname, g_operations->OwnName().c_str());
    return TRUE;
  }
  if (message != WM_COMMAND || LOWORD(wParam) != IDOK) {
    return FALSE;
  }
  mstring room = wide_to_utf8(DialogText(dialog, kRoom));
  mstring nickname = wide_to_utf8(DialogText(dialog, kNickname));
  if (!ValidRoom(room)) {
    MessageBoxW(dialog, u"Enter the room's address, such as lounge@conference.example.org.",
                u"Invalid Address", MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
  }
  if (nickname.empty()) {
    MessageBoxW(dialog, u"Enter the nickname to use in the room.", u"Join Room",
                MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
  }
  if (!App()->routes().IsConnected()) {
    MessageBoxW(dialog, u"Log on first to join a room.", u"Join Room", MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
  }
  EndDialog(dialog, IDOK);
  g_operations->JoinRoom(room, nickname, wide_to_utf8(DialogText(dialog, kPassword)));
  return TRUE;
}

}  // namespace

void JoinRoomDialog(MChatOperations* operations) {
  if (App() == nullptr || operations == nullptr) {
    return;
  }
  g_operations = operations;
  static const DIALOGITEM items[] = {
      {WC_STATIC, u"Room:", kNoId, SS_LEFT, kMargin, RowY(0), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kRoom, ES_AUTOHSCROLL, kFieldX, RowY(0), kFieldWidth, kRowHeight},
      {WC_STATIC, u"Nickname:", kNoId, SS_LEFT, kMargin, RowY(1), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kNickname, ES_AUTOHSCROLL, kFieldX, RowY(1), kFieldWidth, kRowHeight},
      {WC_STATIC, u"Password:", kNoId, SS_LEFT, kMargin, RowY(2), kLabelWidth, kRowHeight},
      {WC_EDIT, u"", kPassword, ES_AUTOHSCROLL | ES_PASSWORD, kFieldX, RowY(2), kFieldWidth,
       kRowHeight}};
  static const DIALOGTEMPLATE joinRoom{u"Join Room", items, static_cast<int>(std::size(items))};
  RunSetupDialog(joinRoom, nullptr, JoinRoomProc);
}
