// Menus with enabling and check marks, the bottom menu bar with image buttons, and text
// measurement and drawing into an off-screen bitmap.
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
