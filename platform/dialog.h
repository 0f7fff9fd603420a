// Modal dialogs from templates. A template is a caption and a table of controls (class, text,
// id, style, rectangle in pixels); the dialog fills its owner's client area (the handheld's
// full-screen dialogs), shows a Done button that sends IDOK, and runs its own message loop
// until EndDialog. The dialog procedure gets WM_INITDIALOG (lParam: the caller's value) and
// WM_COMMAND from its controls; what it does not handle (returns FALSE) gets the default: IDOK
// and IDCANCEL end the dialog with that id.
#pragma once

#include "platform/window.h"

using DLGPROC = LRESULT (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct DIALOGITEM {
  const WCHAR* className;  // "STATIC", "EDIT", "BUTTON", "COMBOBOX", "LISTBOX", WC_TREEVIEW
  const WCHAR* text;
  int id;
  DWORD style;  // WS_CHILD | WS_VISIBLE are added
  int x, y, width, height;
};

struct DIALOGTEMPLATE {
  const WCHAR* caption;
  const DIALOGITEM* items;
  int count;
};

// Runs the dialog modally; returns the value given to EndDialog (-1 when it cannot be made).
LRESULT DialogBoxIndirectParam(HINSTANCE instance, const DIALOGTEMPLATE* dialog, HWND owner,
                               DLGPROC procedure, LPARAM param);
BOOL EndDialog(HWND dialog, LRESULT result);

BOOL SetDlgItemTextW(HWND dialog, int id, const WCHAR* text);
UINT GetDlgItemTextW(HWND dialog, int id, WCHAR* text, int maximum);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
