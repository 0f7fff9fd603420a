// MActiveChatsWnd: the open conversations as a flat, sorted list with an image each; the
// window procedure and the commands are in active_chats_commands.cpp.
#include "ui/active_chats_wnd.h"

#include <algorithm>

#include "ui/roster_images.h"
#include "xml/text_convert.h"

namespace {

constexpr int kButtonHeight = 32;
constexpr int kTextChars = 512;

bool KnownService(const mstring& serviceType) {
  static const char* const kServices[] = {"", "aim", "icq", "jabber", "msn", "yahoo"};
  for (const char* service : kServices) {
    if (mstricmp(serviceType.c_str(), service) == 0) {
      return true;
    }
  }
  return false;
}

void Fill(HDC dc, LONG left, LONG top, LONG right, LONG bottom, COLORREF colour) {
  RECT rect{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// The presence strip has no picture for a new message: an envelope with a red mark is drawn
// here and added after it, as image 17.
void AddNewMessageImage(HIMAGELIST list, bool smallBitmaps) {
  LONG width = smallBitmaps ? 14 : 20;
  LONG height = smallBitmaps ? 17 : 25;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  Fill(dc, 0, 0, width, height, kRosterMaskColour);
  LONG top = height / 4;
  LONG bottom = height - height / 4;
  Fill(dc, 1, top, width - 1, bottom, RGB(0, 0, 128));
  Fill(dc, 2, top + 1, width - 2, bottom - 1, RGB(255, 255, 255));
  for (LONG x = 2; x < width - 2; ++x) {  // the flap: a V from the top corners
    LONG y = top + 1 + std::min(x - 2, width - 3 - x) * (bottom - top) / width;
    Fill(dc, x, y, x + 1, y + 1, RGB(0, 0, 128));
  }
  Fill(dc, width - width / 3, 0, width, height / 3, RGB(220, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  ImageList_AddMasked(list, bitmap, kRosterMaskColour);
  DeleteObject(bitmap);
}

}  // namespace

MActiveChatsWnd::MActiveChatsWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont,
                                 const MSettings& settings)
    : MWnd(kActiveChatsWindowName, instance, kActiveChatsWindowName, stack, logFont),
      settings_(settings) {}

MActiveChatsWnd::~MActiveChatsWnd() {
  if (IsWindow(tree_)) {
    SendMessage(tree_, TVM_SETIMAGELIST, 0, 0);
  }
  if (images_ != nullptr) {
    ImageList_Destroy(images_);
  }
}

HWND MActiveChatsWnd::Create(MWnd* parentWnd, int iconId, int menuBarId) {
  if (MWnd::Create(parentWnd, iconId, menuBarId) == nullptr) {
    return nullptr;
  }
  tree_ = AddControl(WC_TREEVIEW, kActiveChatsWindowName, 0,
                     WS_VISIBLE | WS_CLIPSIBLINGS | TVS_HASBUTTONS);
  infoButton_ = AddControl(WC_BUTTON, u"Info", kActiveChatsInfoButton, WS_VISIBLE | WS_BORDER);
  chatButton_ = AddControl(WC_BUTTON, u"Chat", kActiveChatsChatButton, WS_VISIBLE | WS_BORDER);
  SetFontIndirect(tree_, logFont_);
  images_ = CreateRosterImageList(instance_, settings_.smallBitmaps);
  if (images_ != nullptr) {
    AddNewMessageImage(images_, settings_.smallBitmaps);
    SendMessage(tree_, TVM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  }
  Relayout();
  ShowFirst();
  return hwnd_;
}

void MActiveChatsWnd::SetChatWindow(MChatWnd* chat) {
  chat_ = chat;
}

void MActiveChatsWnd::SetRosterActions(IRosterActions* actions) {
  rosterActions_ = actions;
}

HWND MActiveChatsWnd::Tree() const {
  return tree_;
}

HWND MActiveChatsWnd::Control(int id) const {
  return hwnd_ != nullptr ? GetDlgItem(hwnd_, id) : nullptr;
}

void MActiveChatsWnd::Relayout() {
  if (hwnd_ == nullptr) {
    return;
  }
  RECT client{0, 0, 0, 0};
  GetClientRect(hwnd_, &client);
  int width = client.right - client.left;
  int height = client.bottom - client.top;
  int half = width / 2;
  MoveWindow(tree_, 0, 0, width, height - kButtonHeight, TRUE);
  MoveWindow(infoButton_, 0, height - kButtonHeight, half, kButtonHeight, TRUE);
  MoveWindow(chatButton_, half, height - kButtonHeight, width - half, kButtonHeight, TRUE);
}

wmstring MActiveChatsWnd::ItemText(const ChatRecord& record) const {
  if (record.type != kChatOneToOne) {
    return utf8_to_wide(record.peer.jid);
  }
  // A private conversation with a room occupant: its nickname and the room.
  if (std::uint32_t slash = record.peer.jid.find('/'); slash != mstring::npos) {
    return utf8_to_wide(record.peer.jid.substr(slash + 1)) + u" (" +
           utf8_to_wide(record.peer.jid.substr(0, slash)) + u")";
  }
  const wmstring& name =
      record.peer.name.empty() ? utf8_to_wide(record.peer.jid) : record.peer.name;
  return RosterDisplayText(name, record.peer.status, settings_.showStatus);
}

int MActiveChatsWnd::ItemImage(const ChatRecord& record) const {
  if (record.type != kChatOneToOne) {
    return kRoomImage;
  }
  if (record.newMessage != 0) {
    return kNewMessageImage;
  }
  const RosterItem& peer = record.peer;
  return KnownService(peer.serviceType) ? PresenceImage(peer.serviceType, peer.online, peer.show)
                                        : -1;
}

std::vector<HTREEITEM> MActiveChatsWnd::Items() const {
  std::vector<HTREEITEM> items;
  for (HTREEITEM item = TreeView_GetRoot(tree_); item != nullptr;
       item = TreeView_GetNextItem(tree_, item, TVGN_NEXT)) {
    items.push_back(item);
  }
  return items;
}

ChatRecord* MActiveChatsWnd::RecordOf(HTREEITEM item) const {
  if (item == nullptr) {
    return nullptr;
  }
  TVITEM fields{};
  fields.mask = TVIF_HANDLE | TVIF_PARAM;
  fields.hItem = item;
  return TreeView_GetItem(tree_, &fields) ? reinterpret_cast<ChatRecord*>(fields.lParam) : nullptr;
}

void MActiveChatsWnd::AddChat(ChatRecord* record) {
  if (record == nullptr || tree_ == nullptr) {
    return;
  }
  for (HTREEITEM item : Items()) {
    if (RecordOf(item) == record) {
      SetItem(item, *record);  // listed already: the application and the window both add
      return;
    }
  }
  wmstring text = ItemText(*record);
  TVINSERTSTRUCT insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_SORT;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<WCHAR*>(text.c_str());
  insert.item.iImage = insert.item.iSelectedImage = ItemImage(*record);
  insert.item.lParam = reinterpret_cast<LPARAM>(record);
  HTREEITEM item = TreeView_InsertItem(tree_, &insert);
  if (item != nullptr) {
    SendMessage(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  }
}

void MActiveChatsWnd::RemoveChat(const mstring& jid) {
  for (HTREEITEM item : Items()) {
    ChatRecord* record = RecordOf(item);
    if (record != nullptr && mstricmp(record->peer.jid.c_str(), jid.c_str()) == 0) {
      SendMessage(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    }
  }
}

// A record listed here takes the contact's new name, presence and status; its key stays.
void MActiveChatsWnd::UpdateChat(const RosterItem& item) {
  bool resort = false;
  for (HTREEITEM each : Items()) {
    ChatRecord* record = RecordOf(each);
    if (record == nullptr || mstricmp(record->peer.jid.c_str(), item.jid.c_str()) != 0) {
      continue;
    }
    if (record->type == kChatOneToOne && &record->peer != &item) {
      mstring jid = record->peer.jid;
      record->peer = item;
      record->peer.jid = jid;
    }
    WCHAR old[kTextChars] = {};
    TVITEM fields{};
    fields.mask = TVIF_HANDLE | TVIF_TEXT;
    fields.hItem = each;
    fields.pszText = old;
    fields.cchTextMax = kTextChars;
    TreeView_GetItem(tree_, &fields);
    resort = resort || !(wmstring(old) == ItemText(*record));
    SetItem(each, *record);
  }
  if (resort) {
    SendMessage(tree_, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  }
}

void MActiveChatsWnd::SetItem(HTREEITEM item, const ChatRecord& record) {
  wmstring text = ItemText(record);
  TVITEM fields{};
  fields.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  fields.hItem = item;
  fields.pszText = const_cast<WCHAR*>(text.c_str());
  fields.iImage = fields.iSelectedImage = ItemImage(record);
  SendMessage(tree_, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&fields));
}

HTREEITEM MActiveChatsWnd::Selection() const {
  return tree_ != nullptr ? TreeView_GetSelection(tree_) : nullptr;
}

void MActiveChatsWnd::ShowFirst() {
  HTREEITEM shown = Selection();
  if (shown == nullptr) {
    shown = TreeView_GetRoot(tree_);
  }
  if (shown != nullptr) {
    SendMessage(tree_, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(shown));
  }
}

void MActiveChatsWnd::Show() {
  MWnd::Show();
  SetActiveWindow(tree_);
  SetFocus(tree_);
  ShowFirst();
}

void MActiveChatsWnd::Reset() {
  SendMessage(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

void MActiveChatsWnd::SetFontIndirect(HWND control, const LOGFONT& logFont) {
  MWnd::SetFontIndirect(control != nullptr ? control : tree_, logFont);
}

void MActiveChatsWnd::ApplyFont(HWND control, HFONT font) {
  MWnd::ApplyFont(control != nullptr ? control : tree_, font);
}

void MActiveChatsWnd::OnActivate(WORD state) {
  if (state != WA_INACTIVE && tree_ != nullptr && GetFocus() != tree_) {
    SetFocus(tree_);
  }
}
