// MActiveChatsWnd: the window procedure and the commands, which act on this window's selection.
#include "platform/menu.h"
#include "ui/active_chats_wnd.h"
#include "ui/chat_wnd.h"
#include "ui/frame_link.h"
#include "ui/roster_actions.h"
#include "ui/roster_dialogs.h"

namespace {

constexpr UINT kPopupChat = 40180;
constexpr UINT kPopupInfo = 40181;
constexpr UINT kMenuInfo = 40201;
constexpr UINT kMenuChat = 40202;
constexpr UINT kDial = 40182;
constexpr UINT kDialMenu = 40248;
constexpr UINT kFonts = 40154;

}  // namespace

LRESULT MActiveChatsWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == hwnd_) {
    switch (message) {
      case WM_SIZE:
        Relayout();
        return 0;
      case WM_SETFOCUS:
        SetFocus(tree_);
        if (Selection() == nullptr) {
          ShowFirst();
        }
        return 0;
      case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom == tree_) {
          return OnNotify(header);
        }
        break;
      }
      case WM_COMMAND:
        if (OnCommand(LOWORD(wParam))) {
          return 0;
        }
        break;
      default:
        break;
    }
  }
  return MWnd::WindowProc(hwnd, message, wParam, lParam);
}

LRESULT MActiveChatsWnd::OnNotify(NMHDR* header) {
  switch (header->code) {
    case TVN_SELCHANGED: {
      auto* notice = reinterpret_cast<NMTREEVIEW*>(header);
      SendMessage(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(notice->itemNew.hItem));
      return 0;
    }
    case NM_DBLCLK:
    case NM_RETURN:
      OpenSelected();
      return 0;
    case GN_CONTEXTMENU:
      ShowContextMenu(reinterpret_cast<NMRGINFO*>(header)->ptAction);
      return 0;
    default:
      return 0;
  }
}

bool MActiveChatsWnd::OnCommand(UINT command) {
  switch (command) {
    case kActiveChatsChatButton:
    case kMenuChat:
    case kPopupChat:
      OpenSelected();
      return true;
    case kActiveChatsInfoButton:
    case kMenuInfo:
    case kPopupInfo:
      ShowSelectedInfo();
      return true;
    case kDial:
    case kDialMenu:
      if (ChatRecord* record = RecordOf(Selection())) {
        if (rosterActions_ != nullptr && record->type == kChatOneToOne) {
          rosterActions_->DialContact(record->peer);
        }
      } else {
        ShowFirst();
      }
      return true;
    case kFonts:
      if (HWND frame = FrameWindow(); frame != nullptr && frame != hwnd_) {
        SendMessage(frame, WM_COMMAND, MAKEWPARAM(command, 0), 0);
      }
      return true;
    default:
      return false;
  }
}

void MActiveChatsWnd::OpenSelected() {
  ChatRecord* record = RecordOf(Selection());
  if (record == nullptr || chat_ == nullptr) {
    return;
  }
  chat_->SetCurrentChat(record);
  MWnd::PostShow(chat_);
  chat_->Redraw();
}

void MActiveChatsWnd::ShowSelectedInfo() {
  ChatRecord* record = RecordOf(Selection());
  if (record != nullptr && record->type == kChatOneToOne) {
    RunContactInfoDialog(hwnd_, record->peer);
  }
}

void MActiveChatsWnd::ShowContextMenu(const POINT& at) {
  if (Selection() == nullptr) {
    return;
  }
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kPopupInfo, u"Info");
  AppendMenuW(menu, MF_STRING, kPopupChat, u"Chat");
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, hwnd_, nullptr);
  DestroyMenu(menu);
}
