// The standard controls: their class names, styles, messages and notifications. A control is
// a child window whose procedure belongs to the platform; it reports to its parent with
// WM_COMMAND (id in the low word, notification code in the high word, its HWND in lParam) or,
// for the tree view, WM_NOTIFY. A control's procedure may be replaced with SetWindowLongPtr
// (GWL_WNDPROC): keys typed into it then reach the new procedure first, and reach the control
// only when that procedure passes them on with CallWindowProc.
#pragma once

#include "platform/gdi.h"
#include "platform/window.h"

constexpr const WCHAR* WC_STATIC = u"STATIC";
constexpr const WCHAR* WC_EDIT = u"EDIT";
constexpr const WCHAR* WC_BUTTON = u"BUTTON";
constexpr const WCHAR* WC_COMBOBOX = u"COMBOBOX";
constexpr const WCHAR* WC_LISTBOX = u"LISTBOX";
constexpr const WCHAR* WC_TREEVIEW = u"SysTreeView32";

// --- virtual keys ---------------------------------------------------------------------------
constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_PRIOR = 0x21;
constexpr WPARAM VK_NEXT = 0x22;
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_DELETE = 0x2E;
// Whether a modifier key (VK_SHIFT, VK_CONTROL) is held with the key being handled: the high
// bit is set (the value is negative) while it is down.
std::int16_t GetKeyState(int virtualKey);

// --- STATIC ---------------------------------------------------------------------------------
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;

// --- EDIT -----------------------------------------------------------------------------------
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;

// --- BUTTON ---------------------------------------------------------------------------------
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;
constexpr WORD BN_CLICKED = 0;

// --- COMBOBOX and LISTBOX -------------------------------------------------------------------
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;
constexpr LRESULT CB_ERR = -1;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr WORD CBN_SELCHANGE = 1;

constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr LRESULT LB_ERR = -1;
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;

// --- notifications ----------------------------------------------------------------------------
struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
constexpr UINT NM_RETURN = static_cast<UINT>(-4);
constexpr UINT NM_DBLCLK = static_cast<UINT>(-3);
constexpr UINT NM_CLICK = static_cast<UINT>(-2);
// Tap and hold (a right click or a long press): an NMRGINFO with the point on the screen.
constexpr UINT GN_CONTEXTMENU = 1000;
struct NMRGINFO {
  NMHDR hdr;
  POINT ptAction;
  DWORD dwItemSpec;
};

// --- image lists ------------------------------------------------------------------------------
struct ImageListTag;
using HIMAGELIST = ImageListTag*;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_MASK = 0x0001;
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
// Cuts `bitmap` into images of the list's width; pixels of `mask` colour become transparent.
// Returns the index of the first image added, -1 on failure.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_Destroy(HIMAGELIST list);

// --- tree view --------------------------------------------------------------------------------
struct TreeItemTag;
using HTREEITEM = TreeItemTag*;
extern const HTREEITEM TVI_ROOT;
extern const HTREEITEM TVI_FIRST;
extern const HTREEITEM TVI_LAST;
extern const HTREEITEM TVI_SORT;

constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;
constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_EXPANDED = 0x0020;

struct TVITEM {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  WCHAR* pszText;  // in: the text; out (TVM_GETITEM): a buffer of cchTextMax characters
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
};

struct TVINSERTSTRUCT {
  HTREEITEM hParent;
  HTREEITEM hInsertAfter;
  TVITEM item;
};

constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEM = TV_FIRST + 50;  // lParam TVINSERTSTRUCT*; returns HTREEITEM
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;   // lParam item (TVI_ROOT: all)
constexpr UINT TVM_EXPAND = TV_FIRST + 2;       // wParam TVE_*, lParam item
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;  // lParam HIMAGELIST
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;  // wParam TVGN_*, lParam item
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;   // wParam TVGN_CARET / TVGN_FIRSTVISIBLE
constexpr UINT TVM_GETITEM = TV_FIRST + 62;      // lParam TVITEM*
constexpr UINT TVM_SETITEM = TV_FIRST + 63;      // lParam TVITEM*
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVM_SORTCHILDREN = TV_FIRST + 19;
constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
constexpr UINT TVGN_CARET = 0x0009;

// Notifications (WM_NOTIFY, lParam an NMTREEVIEW for the TVN_ codes, an NMHDR for NM_ codes).
constexpr UINT TVN_FIRST = static_cast<UINT>(-400);
constexpr UINT TVN_SELCHANGED = TVN_FIRST - 51;
constexpr UINT TVN_ITEMEXPANDING = TVN_FIRST - 54;
constexpr UINT TVN_ITEMEXPANDED = TVN_FIRST - 55;
constexpr UINT TVN_DELETEITEM = TVN_FIRST - 58;
constexpr UINT TVC_UNKNOWN = 0x0000;
struct NMTREEVIEW {
  NMHDR hdr;
  UINT action;  // TVE_EXPAND / TVE_COLLAPSE for the expand notifications
  TVITEM itemOld;
  TVITEM itemNew;
  POINT ptDrag;
};

inline HTREEITEM TreeView_InsertItem(HWND tree, const TVINSERTSTRUCT* insert) {
  return reinterpret_cast<HTREEITEM>(
      SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(insert)));
}
inline HTREEITEM TreeView_GetNextItem(HWND tree, HTREEITEM item, UINT code) {
  return reinterpret_cast<HTREEITEM>(
      SendMessage(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}
inline HTREEITEM TreeView_GetSelection(HWND tree) {
  return TreeView_GetNextItem(tree, nullptr, TVGN_CARET);
}
inline HTREEITEM TreeView_GetRoot(HWND tree) {
  return TreeView_GetNextItem(tree, nullptr, TVGN_ROOT);
}
inline BOOL TreeView_GetItem(HWND tree, TVITEM* item) {
  return static_cast<BOOL>(SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(item)));
}
