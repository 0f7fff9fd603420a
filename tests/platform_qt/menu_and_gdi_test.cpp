// Menus with enabling and check marks, the bottom menu bar with image buttons, and text
// measurement and drawing into an off-screen bitmap.
#include <string>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/menu.h"
#include "tests/platform_qt/display_support.h"

namespace {

class MenuAndGdiTest : public DisplayTest {};

HMENU SampleMenu() {
  HMENU bar = CreateMenu();
  HMENU login = CreatePopupMenu();
  AppendMenuW(login, MF_STRING, 40008, u"Log On");
  AppendMenuW(login, MF_SEPARATOR, 0, nullptr);
  HMENU aim = CreatePopupMenu();
  AppendMenuW(aim, MF_STRING, 40043, u"Connect...");
  AppendMenuW(login, MF_POPUP, reinterpret_cast<UINT_PTR>(aim), u"AIM");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(login), u"Login");
  return bar;
}

TEST_F(MenuAndGdiTest, EnableAndCheckFindItemsInSubmenus) {
  HMENU menu = SampleMenu();
  EXPECT_EQ(GetMenuItemCount(menu), 1);
  EXPECT_EQ(EnableMenuItem(menu, 40043, MF_GRAYED), static_cast<DWORD>(MF_ENABLED));
  EXPECT_EQ(GetMenuState(menu, 40043, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(CheckMenuItem(menu, 40008, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(menu, 40008, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
  EXPECT_EQ(EnableMenuItem(menu, 99999, MF_GRAYED), static_cast<DWORD>(-1));
  // A submenu belongs to its parent: it cannot be destroyed or attached twice.
  HMENU login = GetSubMenu(menu, 0);
  EXPECT_FALSE(DestroyMenu(login));
  EXPECT_TRUE(DestroyMenu(menu));
}

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(window, message, wParam, lParam);
}

TEST_F(MenuAndGdiTest, MenuBarButtonsShrinkTheClientAreaAndEnable) {
  static const WNDCLASS frameClass{0,       PlainProc, 0,       0,       nullptr,
                                   nullptr, nullptr,   nullptr, nullptr, u"JBARTESTWND"};
  RegisterClassW(&frameClass);
  HWND frame = CreateWindowExW(0, u"JBARTESTWND", u"bar", WS_VISIBLE, 0, 0, 300, 400, nullptr,
                               nullptr, nullptr, nullptr);
  RECT before{};
  GetClientRect(frame, &before);
  HWND bar = CreateMenuBar(frame, SampleMenu());
  ASSERT_NE(bar, nullptr);
  RECT after{};
  GetClientRect(frame, &after);
  EXPECT_EQ(after.bottom, before.bottom - MenuBarHeight(bar));
  MENUBARBUTTON buttons[] = {{0, 101, true}, {4, 113, true}};
  ASSERT_TRUE(MenuBarAddImageButtons(bar, nullptr, 8216, 16, buttons, 2));
  EXPECT_TRUE(MenuBarIsButtonEnabled(bar, 113));
  EXPECT_TRUE(MenuBarEnableButton(bar, 113, FALSE));
  EXPECT_FALSE(MenuBarIsButtonEnabled(bar, 113));
  EXPECT_FALSE(MenuBarEnableButton(bar, 555, FALSE));
  EXPECT_EQ(GetMenuState(MenuBarMenu(bar), 40008, MF_BYCOMMAND), 0u);
  DestroyWindow(frame);
  EXPECT_FALSE(IsWindow(bar));
}

TEST_F(MenuAndGdiTest, TextExtentsFitCountsAndFontWeight) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 40);
  SelectObject(memory, bitmap);
  LOGFONT record{};
  record.lfHeight = -12;
  record.lfWeight = FW_NORMAL;
  HFONT normal = CreateFontIndirect(&record);
  record.lfWeight = FW_BOLD;
  HFONT bold = CreateFontIndirect(&record);
  const WCHAR* text = u"hello world";
  SelectObject(memory, normal);
  SIZE whole{};
  ASSERT_TRUE(GetTextExtentPoint32(memory, text, 11, &whole));
  EXPECT_GT(whole.cx, 0);
  TEXTMETRIC metrics{};
  GetTextMetrics(memory, &metrics);
  EXPECT_GE(metrics.tmHeight, 12);
  int fit = -1;
  int extents[11];
  GetTextExtentExPoint(memory, text, 11, whole.cx / 2, &fit, extents, nullptr);
  EXPECT_GT(fit, 0);
  EXPECT_LT(fit, 11);
  EXPECT_LE(extents[fit - 1], whole.cx / 2);
  int more = 0;
  GetTextExtentExPoint(memory, text, fit + 1, 10000, &more, extents, nullptr);
  EXPECT_GT(extents[fit], whole.cx / 2);  // the next character no longer fits
  GetTextExtentExPoint(memory, text, 11, 0, &fit, nullptr, nullptr);
  EXPECT_EQ(fit, 0);
  SelectObject(memory, bold);
  SIZE heavier{};
  GetTextExtentPoint32(memory, text, 11, &heavier);
  EXPECT_GT(heavier.cx, whole.cx);
  GetObject(bold, sizeof(record), &record);
  EXPECT_EQ(record.lfWeight, FW_BOLD);
  // Text drawn in red lands in the bitmap.
  SetTextColor(memory, RGB(255, 0, 0));
  SetBkMode(memory, TRANSPARENT);
  RECT line{0, 0, 200, 20};
  DrawTextW(memory, text, -1, &line, DT_NOPREFIX | DT_NOCLIP);
  RECT rule{0, 24, 200, 28};
  EXPECT_TRUE(DrawEdge(memory, &rule, EDGE_ETCHED, BF_RECT | BF_MIDDLE));
  BITMAP info{};
  GetObject(bitmap, sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, 200);
  DeleteDC(memory);
  DeleteObject(bitmap);
  DeleteObject(normal);
  DeleteObject(bold);
  ReleaseDC(nullptr, screen);
}

TEST_F(MenuAndGdiTest, ApplicationImagesLoadByResourceId) {
  HBITMAP happy = LoadBitmap(nullptr, 139);
  ASSERT_NE(happy, nullptr);
  BITMAP info{};
  GetObject(happy, sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, 16);
  EXPECT_EQ(info.bmHeight, 16);
  DeleteObject(happy);
  EXPECT_EQ(LoadBitmap(nullptr, 4242), nullptr);
  EXPECT_NE(LoadIcon(nullptr, 101), nullptr);
}

}  // namespace

namespace {

LRESULT OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(window, message, wParam, lParam);
}

struct DialogCheck {
  HWND owner;
  HWND bar;
  RECT ownerClient;
  RECT dialogClient;
  BOOL barEnabled;
  WCHAR typed[32];
  bool editFocused;
};

LRESULT CheckingDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static DialogCheck* check = nullptr;
  if (message == WM_INITDIALOG) {
    check = reinterpret_cast<DialogCheck*>(lParam);
    GetClientRect(check->owner, &check->ownerClient);
    GetClientRect(dialog, &check->dialogClient);
    check->barEnabled = IsWindowEnabled(check->bar);
    SetDlgItemTextW(dialog, 1020, u"proxy.example.org");
    CheckDlgButton(dialog, 1016, BST_CHECKED);
    PostMessage(dialog, WM_USER, 0, 0);
    return TRUE;
  }
  if (message == WM_USER) {  // the user presses Enter in the field: OK
    SimulateKey(GetDlgItem(dialog, 1020), VK_RETURN, u'\r');
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    check->editFocused = GetFocus() == GetDlgItem(dialog, 1020);
    GetDlgItemTextW(dialog, 1020, check->typed, 32);
    EndDialog(dialog, IsDlgButtonChecked(dialog, 1016) == BST_CHECKED ? 5 : 6);
    return TRUE;
  }
  return FALSE;
}

// A dialog from a template covers its owner's client area, keeps the menu bar out of reach
// while it runs, starts with the keyboard in its first control that takes input (not in a
// label), takes Enter in a field as OK, and hands its controls' values to its procedure.
TEST_F(MenuAndGdiTest, TemplateDialogFillsItsOwnerAndDisablesTheMenuBar) {
  static const WNDCLASS ownerClass{0,       OwnerProc, 0,       0,       nullptr,
                                   nullptr, nullptr,   nullptr, nullptr, u"JDIALOGOWNERWND"};
  RegisterClassW(&ownerClass);
  HWND owner = CreateWindowExW(0, u"JDIALOGOWNERWND", u"owner", WS_VISIBLE, 0, 0, 320, 480, nullptr,
                               nullptr, nullptr, nullptr);
  HWND bar = CreateMenuBar(owner, SampleMenu());
  static const DIALOGITEM items[] = {
      {u"STATIC", u"Server:", 1021, 0, 4, 30, 60, 20},
      {u"EDIT", u"", 1020, 0, 70, 30, 150, 20},
      {u"BUTTON", u"Use Proxy Server (SOCKS5)", 1016, BS_AUTOCHECKBOX, 4, 4, 200, 20}};
  static const DIALOGTEMPLATE proxy{u"Proxy Setup", items, 3};
  DialogCheck check{owner, bar, {}, {}, TRUE, {0}, false};
  SetActiveWindow(owner);
  ProcessDisplayEvents();
  EXPECT_EQ(DialogBoxIndirectParam(nullptr, &proxy, owner, CheckingDialog,
                                   reinterpret_cast<LPARAM>(&check)),
            5);
  EXPECT_EQ(check.dialogClient.right, check.ownerClient.right);
  EXPECT_EQ(check.dialogClient.bottom, check.ownerClient.bottom);
  EXPECT_FALSE(check.barEnabled);
  EXPECT_TRUE(IsWindowEnabled(bar));
  EXPECT_EQ(std::u16string(check.typed), u"proxy.example.org");
  EXPECT_TRUE(check.editFocused);
  DestroyWindow(owner);
}

TEST_F(MenuAndGdiTest, ScrollPositionIsClampedToRangeAndPage) {
  static const WNDCLASS viewClass{0,       OwnerProc, 0,       0,       nullptr,
                                  nullptr, nullptr,   nullptr, nullptr, u"JSCROLLTESTWND"};
  RegisterClassW(&viewClass);
  HWND view = CreateWindowExW(0, u"JSCROLLTESTWND", u"", WS_VISIBLE | WS_VSCROLL, 0, 0, 100, 100,
                              nullptr, nullptr, nullptr, nullptr);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 20, 5, 100, 0};
  EXPECT_EQ(SetScrollInfo(view, SB_VERT, &info, TRUE), 16);  // nMax - nPage + 1
  info = SCROLLINFO{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, -3, 0};
  EXPECT_EQ(SetScrollInfo(view, SB_VERT, &info, TRUE), 0);
  SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &read));
  EXPECT_EQ(read.nMax, 20);
  EXPECT_EQ(read.nPage, 5u);
  RECT client{};
  GetClientRect(view, &client);
  EXPECT_LT(client.right, 100);  // the bar takes its width from the client area
  DestroyWindow(view);
}

}  // namespace

// Select, draw, select the previous one back, delete: when the previous selection was the
// context's default, selecting it back must take the deleted object out of the context (it
// was left selected, and the next drawing read freed memory).
TEST_F(MenuAndGdiTest, SelectingTheDefaultBackReleasesTheDeletedObject) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 40, 20);
  HGDIOBJ firstBitmap = SelectObject(dc, bitmap);
  ASSERT_NE(nullptr, firstBitmap);
  LOGFONT record{};
  record.lfHeight = -12;
  HGDIOBJ firstFont = nullptr;
  for (int pass = 0; pass < 2; ++pass) {
    HFONT font = CreateFontIndirect(&record);
    HGDIOBJ previous = SelectObject(dc, font);
    ASSERT_NE(nullptr, previous) << "pass " << pass;
    firstFont = pass == 0 ? previous : firstFont;
    EXPECT_EQ(firstFont, previous) << "pass " << pass;
    RECT rect{0, 0, 40, 20};
    DrawTextW(dc, u"x", -1, &rect, DT_LEFT | DT_SINGLELINE);
    EXPECT_EQ(font, SelectObject(dc, previous)) << "pass " << pass;
    DeleteObject(font);
  }
  EXPECT_EQ(firstFont, SelectObject(dc, firstFont));  // the default, not a deleted font
  EXPECT_EQ(bitmap, SelectObject(dc, firstBitmap));
  DeleteObject(bitmap);
  DeleteDC(dc);
}
