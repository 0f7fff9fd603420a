// Message boxes: a text, a caption, an icon and buttons, shown modally; the display's events
// and the message queue keep running while it is open.
#pragma once

#include "platform/window.h"

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

// IDOK, IDCANCEL, IDYES or IDNO (dialog.h); 0 when no box could be shown.
int MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT type);

// Tests and headless runs: every box is answered at once with `answer` (0 to show boxes
// again) and its text is recorded; the last text and caption can be read back.
void SetMessageBoxAutoAnswer(int answer);
int MessageBoxCount();
void LastMessageBox(WCHAR* text, int textSize, WCHAR* caption, int captionSize, UINT* type);
