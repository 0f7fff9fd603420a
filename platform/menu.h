// Menus and the menu bar. A menu is a tree of items (text with a command id, a popup, a
// separator) with enabled and checked states. The bottom menu bar of a top-level window shows
// the top-level popups of its menu as buttons, followed by image buttons with tooltips;
// choosing an item or a button sends WM_COMMAND (command id in the low word) to the owner.
#pragma once

#include "platform/window.h"

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_BYPOSITION = 0x0400;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// MF_POPUP: `id` is the submenu (an HMENU cast to UINT_PTR), which the menu then owns.
// In `text`, '&' marks the next character as the item's mnemonic ("&&" is a literal '&'),
// and what follows a tab is the item's shortcut ("E&xit\tCtrl+Q"), shown at its right.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, const WCHAR* text);
BOOL DestroyMenu(HMENU menu);
// The popup at a position, or null.
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
// Searches the menu and its submenus (MF_BYCOMMAND) or the position (MF_BYPOSITION).
// Returns the previous state (MF_GRAYED or MF_CHECKED bits), -1 when the item is not there.
DWORD EnableMenuItem(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
// The item's state bits (MF_GRAYED, MF_CHECKED), -1 when not there.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);

// A popup menu at a screen point; the chosen command goes to `owner` as WM_COMMAND (or is
// returned with TPM_RETURNCMD). Returns after the menu closes.
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_RETURNCMD = 0x0100;
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, void* reserved);

// --- the menu bar ------------------------------------------------------------------------------
struct MENUBARBUTTON {
  int image;     // index into the bar's image strip
  UINT command;  // sent as WM_COMMAND
  bool enabled;
};

// The bottom menu bar of `owner`, made from `menu` (which the bar then owns): one button per
// top-level popup. Null on failure. The bar is a child window of the owner's widget. Keys
// pressed anywhere in the owner's window reach the bar: Alt with a popup's mnemonic opens that
// popup, and an enabled item's shortcut sends its command as if it had been chosen.
HWND CreateMenuBar(HWND owner, HMENU menu);
// The menu the bar was made from.
HMENU MenuBarMenu(HWND bar);
// Adds image buttons cut from bitmap `bitmapId` (images `imageWidth` pixels wide, in order).
BOOL MenuBarAddImageButtons(HWND bar, HINSTANCE instance, int bitmapId, int imageWidth,
                            const MENUBARBUTTON* buttons, int count);
// Tooltips for all buttons of the bar in bar order (the menu buttons first).
BOOL MenuBarSetTooltips(HWND bar, const WCHAR* const* texts, int count);
BOOL MenuBarEnableButton(HWND bar, UINT command, BOOL enable);
BOOL MenuBarIsButtonEnabled(HWND bar, UINT command);
// The bar's height in pixels (0 for null).
int MenuBarHeight(HWND bar);
