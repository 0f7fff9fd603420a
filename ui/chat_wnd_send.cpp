// MChatWnd: the window procedure, the input field (Enter rule, page keys, length limit) and
// sending what the user typed.
#include <vector>

#include "platform/controls.h"
#include "ui/chat_format.h"
#include "ui/chat_wnd.h"
#include "ui/phrase_chooser.h"
#include "xml/text_convert.h"

namespace {

constexpr const WCHAR* kInviteCommand = u"/invite ";

// At most kChatInputLimit characters; a character made of two halves stays whole.
wmstring WithinLimit(const wmstring& text) {
  std::uint32_t cut = static_cast<std::uint32_t>(kChatInputLimit);
  if (text.length() <= cut) {
    return text;
  }
  WCHAR last = text.c_str()[cut - 1];
  if (last >= 0xD800 && last <= 0xDBFF) {
    --cut;
  }
  return text.substr(0, cut);
}

bool StartsWith(const wmstring& text, const WCHAR* prefix) {
  return text.find(prefix) == 0;
}

}  // namespace

LRESULT MChatWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == hwnd_) {
    switch (message) {
      case WM_SIZE:
        Relayout();
        return 0;
      case WM_SETFOCUS:
        SetFocus(input_);
        return 0;
      case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam))) {
          return 0;
        }
        break;
      default:
        break;
    }
  }
  return MHtmlWnd::WindowProc(hwnd, message, wParam, lParam);
}

bool MChatWnd::OnCommand(WORD id, WORD code) {
  switch (id) {
    case kChatSendButton:
      Send();
      return true;
    case kChatClearButton:
      SetInputText(wmstring(), false);
      SetFocus(input_);
      return true;
    case kChatCloseButton:
      CloseChat();
      return true;
    case kChatListId:
      if (code == CBN_SELCHANGE) {
        OnListSelection();
      }
      return true;
    case kChatInputId:
      if (code == EN_CHANGE) {
        LimitInput();
      }
      return true;
    case kQuickPhraseCommand:
      AppendQuickPhrase();
      return true;
    default:
      return false;
  }
}

void MChatWnd::OnListSelection() {
  LRESULT index = SendMessage(list_, CB_GETCURSEL, 0, 0);
  LRESULT length = SendMessage(list_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (index == CB_ERR || length < 0) {
    return;
  }
  std::u16string title(static_cast<std::size_t>(length) + 1, u'\0');
  SendMessage(list_, CB_GETLBTEXT, static_cast<WPARAM>(index),
              reinterpret_cast<LPARAM>(title.data()));
  if (ChatRecord* record = FindChat(wide_to_utf8(title.c_str()), -1)) {
    SetCurrentChat(record);
    Redraw();
  }
}

LRESULT MChatWnd::InputProc(HWND input, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MChatWnd*>(GetWindowLongPtr(input, GWL_USERDATA));
  if (self == nullptr || self->inputProc_ == nullptr) {
    return DefWindowProc(input, message, wParam, lParam);
  }
  if ((message == WM_KEYDOWN || message == WM_KEYUP) && wParam == VK_RETURN && self->EnterSends()) {
    if (message == WM_KEYDOWN) {
      self->Send();
    }
    return 0;
  }
  if (message == WM_KEYDOWN && (wParam == VK_PRIOR || wParam == VK_NEXT)) {
    SendMessage(self->GetView(), WM_VSCROLL, wParam == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN, 0);
    return 0;
  }
  return CallWindowProc(self->inputProc_, input, message, wParam, lParam);
}

// Enter sends when "ENTERKEY SENDS" is on and Ctrl is not held, or when it is off and Ctrl is.
bool MChatWnd::EnterSends() const {
  bool control = GetKeyState(static_cast<int>(VK_CONTROL)) < 0;
  return settings_.enterKeySends != control;
}

wmstring MChatWnd::InputText() const {
  if (input_ == nullptr) {
    return wmstring();
  }
  int length = GetWindowTextLengthW(input_);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  int copied = GetWindowTextW(input_, text.data(), length + 1);
  return wmstring(text.c_str(), static_cast<std::uint32_t>(std::max(copied, 0)));
}

void MChatWnd::SetInputText(const wmstring& text, bool caretAtEnd) {
  if (input_ == nullptr) {
    return;
  }
  SetWindowTextW(input_, text.c_str());
  WPARAM caret = caretAtEnd ? text.length() : 0;
  SendMessage(input_, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

void MChatWnd::LimitInput() {
  wmstring text = InputText();
  if (text.length() > static_cast<std::uint32_t>(kChatInputLimit)) {
    SetInputText(WithinLimit(text), true);
  }
}

void MChatWnd::Send() {
  wmstring text = WithinLimit(InputText());
  if (text.empty() || current_ == nullptr) {
    return;
  }
  if (SendText(text)) {
    SetInputText(wmstring(), false);
    SetFocus(input_);
  }
}

// False when there was no one to send to: the text stays in the input field.
bool MChatWnd::SendText(const wmstring& text) {
  ChatRecord* record = current_;
  if (record->type == kChatConference && StartsWith(text, u"/") && SendCommand(text)) {
    return true;
  }
  mstring body = wide_to_utf8(text);
  if (record->type == kChatConference) {
    // No echo: the room sends the message back to everyone, the sender included.
    if (actions_ != nullptr) {
      actions_->SendGroupChat(record->peer.jid, body);
    }
    return true;
  }
  std::vector<mstring> recipients;
  if (record->type == kChatGroup) {
    std::vector<RosterItem> members =
        actions_ != nullptr ? actions_->GroupMembers(record->peer.name) : std::vector<RosterItem>();
    for (const RosterItem& member : members) {
      bool known = false;
      for (const mstring& each : recipients) {
        known = known || mstricmp(each.c_str(), member.jid.c_str()) == 0;
      }
      if (!known && !member.jid.empty()) {
        recipients.push_back(member.jid);
      }
    }
  } else {
    recipients.push_back(record->peer.jid);
  }
  if (recipients.empty()) {
    return false;
  }
  for (std::size_t i = 0; i < recipients.size(); ++i) {
    int result = actions_ != nullptr ? actions_->SendChat(recipients[i], body) : -1;
    if (i == 0) {
      Echo(text, result);
    }
  }
  return true;
}

// "/invite JID reason" in a room invites JID; true when the text was that command.
bool MChatWnd::SendCommand(const wmstring& text) {
  if (!StartsWith(text, kInviteCommand)) {
    return false;
  }
  wmstring rest = text.substr(wide_length(kInviteCommand));
  std::uint32_t space = rest.find(u' ');
  wmstring invitee = rest.substr(0, space);
  wmstring reason = space == wmstring::npos ? wmstring() : rest.substr(space + 1);
  if (invitee.empty()) {
    return false;
  }
  if (actions_ != nullptr) {
    actions_->InviteToRoom(current_->peer.jid, wide_to_utf8(invitee), wide_to_utf8(reason));
  }
  return true;
}

void MChatWnd::Echo(const wmstring& text, int sendResult) {
  wmstring own = actions_ != nullptr ? actions_->OwnName() : wmstring();
  AppendToHistory(current_, u"<P>", false);
  AppendToHistory(current_,
                  u"<FONT COLOR = \"RED\">" + ProtectMarkup(own) +
                      (sendResult == 0 ? u" says: " : u" says[q]: "),
                  false);
  AppendToHistory(current_, text, true);
  AppendToHistory(current_, u"</FONT></P>", false);
  Redraw();
}

void MChatWnd::AppendQuickPhrase() {
  HWND owner = GetParentHwnd() != nullptr ? GetParentHwnd() : hwnd_;
  MRididEdazovChooser chooser(QuickPhrasePath(settings_.programFolder), owner);
  wmstring phrase = utf8_to_wide(chooser.Result());
  if (phrase.empty()) {
    return;
  }
  SetInputText(WithinLimit(InputText() + phrase), true);
  SetFocus(input_);
}
