// MChatWnd: creation, layout, the conversation records and what the view shows; sending and
// the input field are in chat_wnd_send.cpp.
#include "ui/chat_wnd.h"

#include <algorithm>

#include "platform/controls.h"
#include "ui/active_chats_wnd.h"
#include "ui/chat_format.h"
#include "xml/text_convert.h"

namespace {

// Sizes a mouse and a finger can use on a desktop screen.
constexpr int kButtonHeight = 32;
constexpr int kInputHeight = 56;
constexpr int kListHeight = 28;

std::u16string Markup(const wmstring& text) {
  return std::u16string(text.c_str(), text.length());
}

}  // namespace

MChatWnd::MChatWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont,
                   const MSettings& settings)
    : MHtmlWnd(kChatWindowName, instance, kChatWindowClass, stack, logFont), settings_(settings) {}

MChatWnd::~MChatWnd() {
  if (input_ != nullptr && IsWindow(input_) && inputProc_ != nullptr) {
    SetWindowLongPtr(input_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(inputProc_));
    SetWindowLongPtr(input_, GWL_USERDATA, 0);
  }
}

HWND MChatWnd::Create(MWnd* parentWnd, int iconId, int menuBarId) {
  if (MHtmlWnd::Create(parentWnd, iconId, menuBarId) == nullptr) {
    return nullptr;
  }
  list_ = AddControl(WC_COMBOBOX, u"", kChatListId, WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT);
  input_ = AddControl(WC_EDIT, u"", kChatInputId, WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL);
  SendMessage(input_, EM_LIMITTEXT, kChatInputLimit, 0);
  SetWindowLongPtr(input_, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
  inputProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(input_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&MChatWnd::InputProc)));
  send_ = AddControl(WC_BUTTON, u"Send", kChatSendButton, WS_BORDER | BS_PUSHBUTTON);
  clear_ = AddControl(WC_BUTTON, u"Clear", kChatClearButton, WS_BORDER | BS_PUSHBUTTON);
  close_ = AddControl(WC_BUTTON, u"Close", kChatCloseButton, WS_BORDER | BS_PUSHBUTTON);
  SetFontIndirect(GetView(), logFont_);
  ApplyFont(input_, GetFontHandle());
  Relayout();
  return hwnd_;
}

void MChatWnd::SetActions(IChatActions* actions) {
  actions_ = actions;
}

void MChatWnd::SetActiveChats(MActiveChatsWnd* activeChats) {
  activeChats_ = activeChats;
}

HWND MChatWnd::Control(int id) const {
  return hwnd_ != nullptr ? GetDlgItem(hwnd_, id) : nullptr;
}

void MChatWnd::Relayout() {
  MHtmlWnd::Relayout();
  if (hwnd_ == nullptr || input_ == nullptr) {
    return;
  }
  RECT client{0, 0, 0, 0};
  GetClientRect(hwnd_, &client);
  int width = client.right - client.left;
  int height = client.bottom - client.top;
  int third = width / 3;
  int buttons = height - kButtonHeight;
  int input = buttons - kInputHeight;
  MoveWindow(list_, 0, 0, width, kListHeight, TRUE);
  MoveWindow(GetView(), 0, kListHeight, width, std::max(input - kListHeight, 0), TRUE);
  MoveWindow(input_, 0, input, width, kInputHeight, TRUE);
  MoveWindow(send_, 0, buttons, third, kButtonHeight, TRUE);
  MoveWindow(clear_, third, buttons, third, kButtonHeight, TRUE);
  MoveWindow(close_, 2 * third, buttons, width - 2 * third, kButtonHeight, TRUE);
}

void MChatWnd::AppendToHistory(ChatRecord* record, const wmstring& text, bool format) {
  if (record == nullptr) {
    return;
  }
  record->AppendMarkup(Markup(format ? FormatChatText(text, settings_.showEmoticons) : text));
}

void MChatWnd::AppendNarrowToHistory(ChatRecord* record, const char* text, bool format) {
  if (text != nullptr) {
    AppendToHistory(record, mb_to_wide(text), format);
  }
}

void MChatWnd::WriteHeader(ChatRecord* record) {
  if (record == nullptr) {
    return;
  }
  wmstring name =
      ProtectMarkup(record->displayName.empty() ? record->peer.name : record->displayName);
  wmstring header;
  if (record->type == kChatOneToOne) {
    header = u"<FONT COLOR = \"BLUE\">Chat with " + name + u" (" +
             ProtectMarkup(utf8_to_wide(record->peer.jid)) + u")</FONT>";
  } else if (record->type == kChatGroup) {
    header = u"<FONT COLOR = \"BLUE\">Chat with Group: " + name + u"</FONT>";
  } else if (record->type == kChatConference) {
    header = u"<FONT COLOR = \"BLUE\">Conference in Room: " + name + u"</FONT>";
  } else {
    return;
  }
  AppendToHistory(record, header + u"<P>--- New conversation ---</P>", false);
}

ChatRecord* MChatWnd::FindChat(const mstring& title, int type) {
  for (const auto& record : chats_) {
    if ((title.empty() || mstricmp(record->peer.jid.c_str(), title.c_str()) == 0) &&
        (type == -1 || record->type == type)) {
      return record.get();
    }
  }
  return nullptr;
}

ChatRecord* MChatWnd::OpenChat(int type, const wmstring& name, const RosterItem& peer) {
  if (type != kChatConference && type != kChatGroup) {
    type = kChatOneToOne;
  }
  ChatRecord* record = FindChat(peer.jid, type);
  if (record == nullptr) {
    chats_.push_back(std::make_unique<ChatRecord>(type, name, peer));
    record = chats_.back().get();
    WriteHeader(record);
    if (activeChats_ != nullptr) {
      activeChats_->AddChat(record);
    }
  }
  SelectTitle(record->peer.jid, true);
  return record;
}

void MChatWnd::SetCurrentChat(ChatRecord* record) {
  if (record == nullptr) {
    return;
  }
  if (record != current_) {
    // The text being typed belongs to the conversation it was typed in.
    if (current_ != nullptr) {
      current_->draft = InputText();
    }
    SetInputText(record->draft, true);
    record->draft = wmstring();
  }
  current_ = record;
  for (auto it = chats_.begin(); it != chats_.end(); ++it) {
    if (it->get() == record) {
      chats_.splice(chats_.end(), chats_, it);
      break;
    }
  }
}

void MChatWnd::CloseChat(ChatRecord* record) {
  if (record == nullptr) {
    record = current_;
  }
  auto found = chats_.begin();
  while (found != chats_.end() && found->get() != record) {
    ++found;
  }
  if (found == chats_.end()) {
    return;
  }
  mstring jid = record->peer.jid;
  if (record->type == kChatConference && actions_ != nullptr) {
    actions_->LeaveRoom(jid);
  }
  RemoveTitle(jid);
  if (activeChats_ != nullptr) {
    activeChats_->RemoveChat(jid);
  }
  bool wasCurrent = record == current_;
  if (drawn_ == record) {
    drawn_ = nullptr;  // a new record may come to live at the same address
  }
  chats_.erase(found);
  if (wasCurrent) {
    current_ = nullptr;
    SetInputText(wmstring(), false);
    for (const auto& each : chats_) {
      if (each->shown != 0) {
        SetCurrentChat(each.get());
        break;
      }
    }
  }
  if (current_ == nullptr) {
    SendToBack();
    if (actions_ != nullptr) {
      actions_->ShowRoster();
    }
  } else {
    Redraw();
  }
}

void MChatWnd::CloseAllChats() {
  if (activeChats_ != nullptr) {
    activeChats_->Reset();  // its entries point at the records
  }
  chats_.clear();
  current_ = nullptr;
  drawn_ = nullptr;
  drawnLength_ = 0;
  if (list_ != nullptr) {
    SendMessage(list_, CB_RESETCONTENT, 0, 0);
  }
}

void MChatWnd::SelectTitle(const mstring& title, bool addWhenAbsent) {
  if (list_ == nullptr) {
    return;
  }
  wmstring wide = utf8_to_wide(title);
  LRESULT index = SendMessage(list_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(wide.c_str()));
  if (index == CB_ERR && addWhenAbsent) {
    index = SendMessage(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  if (index != CB_ERR) {
    SendMessage(list_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void MChatWnd::RemoveTitle(const mstring& title) {
  if (list_ == nullptr) {
    return;
  }
  wmstring wide = utf8_to_wide(title);
  LRESULT index = SendMessage(list_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(wide.c_str()));
  if (index != CB_ERR) {
    SendMessage(list_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }
}

// Only what the history gained since the view last showed it is handed to the view, which then
// lays out only that; another record, or a view emptied meanwhile, gets the whole history.
void MChatWnd::Redraw() {
  if (current_ == nullptr) {
    return;
  }
  SelectTitle(current_->peer.jid, true);
  current_->shown = 1;
  std::size_t length = current_->HistoryLength();
  if (drawn_ != current_ || length < drawnLength_) {
    MHtmlWnd::Reset();
    drawnLength_ = 0;
  }
  std::u16string tail = current_->HistoryFrom(drawnLength_);
  drawn_ = current_;
  drawnLength_ += tail.size();
  if (!tail.empty()) {
    Append(tail.c_str());
  }
  MHtmlWnd::Redraw();
}

void MChatWnd::SetNewMessage(ChatRecord* record, bool on) {
  if (record == nullptr) {
    return;
  }
  record->newMessage = on ? 1 : 0;
  UpdateActiveChat(record);
}

void MChatWnd::UpdateActiveChat(ChatRecord* record) {
  if (activeChats_ != nullptr && record != nullptr) {
    activeChats_->UpdateChat(record->peer);
  }
}

bool MChatWnd::InView(const ChatRecord* record) {
  return record != nullptr && record == current_ && hwnd_ != nullptr && IsWindowVisible(hwnd_);
}

void MChatWnd::BringToFront() {
  MHtmlWnd::BringToFront();
  SetFocus(input_);
}

void MChatWnd::Show() {
  MHtmlWnd::Show();
  if (current_ != nullptr && current_->newMessage != 0) {
    SetNewMessage(current_, false);
  }
  SetActiveWindow(input_);
  SetFocus(input_);
}

void MChatWnd::Reset() {
  SetFocus(input_);
  SendMessage(input_, EM_SETSEL, 0, 0);
}

void MChatWnd::OnActivate(WORD state) {
  if (state != WA_INACTIVE && input_ != nullptr) {
    SetFocus(input_);
  }
}

// Links in a conversation come from other people: only web and XMPP addresses are followed,
// never a file or a program.
bool MChatWnd::OpenLink(const mstring& target) {
  if (!IsOpenableLink(target.c_str())) {
    return false;
  }
  if (mstricmp(target.substr(0, 5).c_str(), "xmpp:") == 0) {
    if (actions_ != nullptr) {
      actions_->OpenXmppAddress(target);
    }
    return true;
  }
  // The view hands a target to the browser by its scheme written in lower case.
  mstring web = target;
  for (std::uint32_t i = 0; i < 5; ++i) {
    char c = web.c_str()[i];
    if (c >= 'A' && c <= 'Z') {
      char lower[2] = {static_cast<char>(c - 'A' + 'a'), '\0'};
      web.replace(i, 1, lower);
    }
  }
  return MHtmlWnd::OpenLink(web);
}
