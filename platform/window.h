// Windows with a display: window classes with a background and an icon, child windows and
// controls with positions, visibility, focus, window text, scroll bars, the screen's metrics
// and the cursor. The calls keep the handheld platform's names and meanings; the display
// backend (platform/qt/) gives every such window a widget. Window procedures run on the thread
// that created the window, through the one message queue of message_queue.h.
#pragma once

#include "platform/message_queue.h"

// Opaque handles of the display layer.
struct InstanceTag;
using HINSTANCE = InstanceTag*;
struct IconTag;
using HICON = IconTag*;
struct CursorTag;
using HCURSOR = CursorTag*;
struct MenuTag;
using HMENU = MenuTag*;
struct GdiObjectTag;
using HGDIOBJ = GdiObjectTag*;
using HBRUSH = HGDIOBJ;
using HFONT = HGDIOBJ;
using HBITMAP = HGDIOBJ;
struct DeviceContextTag;
using HDC = DeviceContextTag*;

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct SIZE {
  LONG cx;
  LONG cy;
};

inline WORD LOWORD(std::uintptr_t value) {
  return static_cast<WORD>(value & 0xFFFF);
}
inline WORD HIWORD(std::uintptr_t value) {
  return static_cast<WORD>((value >> 16) & 0xFFFF);
}
inline LONG GET_X_LPARAM(LPARAM value) {
  return static_cast<std::int16_t>(value & 0xFFFF);
}
inline LONG GET_Y_LPARAM(LPARAM value) {
  return static_cast<std::int16_t>((value >> 16) & 0xFFFF);
}
inline LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>((static_cast<DWORD>(high & 0xFFFF) << 16) | (low & 0xFFFF));
}
inline WPARAM MAKEWPARAM(int low, int high) {
  return static_cast<WPARAM>(MAKELPARAM(low, high));
}

// --- messages --------------------------------------------------------------------------------
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SETTINGCHANGE = 0x001A;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_IME_SETCONTEXT = 0x0281;

// WM_ACTIVATE states.
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;

// WM_SETTINGCHANGE values the program reacts to.
constexpr WPARAM SPI_SETSIPINFO = 224;
constexpr WPARAM SETTINGCHANGE_RESET = 0x3002;

// --- styles ----------------------------------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_GROUP = 0x00020000;

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// --- classes and windows ---------------------------------------------------------------------
struct WNDCLASS {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  const WCHAR* lpszMenuName;
  const WCHAR* lpszClassName;
};

// Registers a class whose windows get a widget. Registering the same name with the same
// procedure again succeeds; TRUE on success.
BOOL RegisterClassW(const WNDCLASS* windowClass);

// A window of a registered class or of a control class ("STATIC", "EDIT", "BUTTON",
// "COMBOBOX", "LISTBOX", WC_TREEVIEW). `menu` is a child's control id. Top-level windows
// (no parent, or no WS_CHILD) become top-level widgets; CW_USEDEFAULT picks a size. Null on
// failure (unknown class, or WM_CREATE answered -1).
HWND CreateWindowExW(DWORD exStyle, const WCHAR* className, const WCHAR* windowName, DWORD style,
                     int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance, void* param);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWNA = 8;
// TRUE when the window was visible before.
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
constexpr HWND HWND_TOP = nullptr;
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
// The client area (origin 0, 0) and the window's rectangle in screen coordinates.
BOOL GetClientRect(HWND window, RECT* rect);
BOOL GetWindowRect(HWND window, RECT* rect);
HWND GetParent(HWND window);
// The control id given at creation.
int GetDlgCtrlID(HWND window);
// The first child of `parent` with that control id.
HWND GetDlgItem(HWND parent, int id);

BOOL SetWindowTextW(HWND window, const WCHAR* text);
// Copies at most `maximum` - 1 characters and a terminator; returns the characters copied.
int GetWindowTextW(HWND window, WCHAR* text, int maximum);
int GetWindowTextLengthW(HWND window);

// Marks the window for painting (WM_PAINT comes from the display loop); UpdateWindow paints a
// pending area at once.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);

HWND SetFocus(HWND window);
HWND GetFocus();
HWND SetActiveWindow(HWND window);
HWND GetForegroundWindow();
// Raises the window (a handle with its lowest bit set raises its top-level window) and asks
// the desktop to activate it.
BOOL SetForegroundWindow(HWND window);

// Icons by resource id (the application's images; null when there is none).
HICON LoadIcon(HINSTANCE instance, int id);
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// --- scroll bars ------------------------------------------------------------------------------
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
// WM_VSCROLL request codes (low word of wParam; the high word carries the thumb position).
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_ENDSCROLL = 8;

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};

// The vertical bar of a window created with WS_VSCROLL. The position is clamped to
// nMin .. max(nMin, nMax - nPage + 1); returns the new position.
int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info);
// The bar shows only while its range is larger than a page (there is something to scroll);
// its strip stays outside the client area either way. TRUE while it shows.
BOOL IsScrollBarVisible(HWND window, int bar);
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;
// Scrolls the client area's contents by (dx, dy) and invalidates the uncovered part (the
// backend repaints the whole client area).
int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip,
                   void* updateRegion, RECT* update, UINT flags);

// --- screen ------------------------------------------------------------------------------------
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
int GetSystemMetrics(int index);
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETPLATFORMTYPE = 257;
// SPI_GETWORKAREA fills a RECT; SPI_GETPLATFORMTYPE fills `size` bytes of WCHAR text with
// the platform type ("Desktop" here). FALSE for anything else.
BOOL SystemParametersInfoW(UINT action, UINT size, void* data, UINT winIni);

// --- cursor -----------------------------------------------------------------------------------
constexpr int IDC_ARROW = 32512;
constexpr int IDC_WAIT = 32514;
HCURSOR LoadCursor(HINSTANCE instance, int id);
// Sets the whole application's cursor (the wait cursor while a long job runs); returns the
// previous one.
HCURSOR SetCursor(HCURSOR cursor);

// --- the display itself --------------------------------------------------------------------------
// Starts the display backend on the calling thread (which becomes the user-interface thread)
// and makes GetMessage on it keep the display's events flowing. FALSE when no display can be
// opened. Safe to call again.
BOOL InitDisplay(int* argc, char** argv);
// What InitDisplay does when the desktop's display cannot be reached: the toolkit cannot come
// back from a failed connection, so `message` (one line) goes to stderr and the process ends
// with `exitCode` at once, instead of the toolkit's own abort. Call before InitDisplay.
void SetDisplayFailureExit(const char* message, int exitCode);
// Ends it: every window of the calling thread must have been destroyed.
void ShutdownDisplay();
// Paints every pending area and handles the display's waiting events once (tests use it to
// let a window settle without a message loop).
void ProcessDisplayEvents();

// Input as the desktop delivers it, for tests and headless runs: a key press (a virtual key
// and the character it types, 0 for none) to the window's widget, and a mouse click at a
// point of its client area (right: the tap-and-hold button; twice: a double click).
BOOL SimulateKey(HWND window, WPARAM virtualKey, WCHAR character);
// A key combination written as the menus show it ("Ctrl+L", "Alt+M", "F1", "PgDown"),
// pressed in the window (delivered to the focused widget when it lies inside the window).
BOOL SimulateKeys(HWND window, const WCHAR* keys);
BOOL SimulateClick(HWND window, int x, int y, BOOL right, BOOL twice);
