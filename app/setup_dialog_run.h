// What the setup dialogs share: running a template modally over the main frame (or over the
// dialog that opened it), knowing which dialog is open, and reading and writing the controls.
#pragma once

#include "platform/dialog.h"
#include "ui/dialog_text.h"
#include "xml/wmstring.h"

// The id of labels nobody addresses.
constexpr int kNoId = -1;

// The desktop layout of the dialogs: a label column and a field column with some air, one row
// every kRowStep pixels.
constexpr int kMargin = 16;
constexpr int kLabelWidth = 120;
constexpr int kFieldX = kMargin + kLabelWidth + 8;
constexpr int kFieldWidth = 300;
constexpr int kRowHeight = 26;
constexpr int kRowStep = 36;
constexpr int kCheckWidth = kLabelWidth + 8 + kFieldWidth;
constexpr int kButtonWidth = 140;
constexpr int RowY(int row) {
  return 12 + row * kRowStep;
}

// Runs `dialog` modally over `owner` (the main frame when null); `procedure` gets every
// message with the dialog's HWND, and `param` with WM_INITDIALOG. Returns what EndDialog got.
LRESULT RunSetupDialog(const DIALOGTEMPLATE& dialog, HWND owner, DLGPROC procedure,
                       LPARAM param = 0);
// The innermost setup dialog now running; null when none runs.
HWND OpenSetupDialog();

// The main frame's window (null before it exists).
HWND SetupDialogOwner();

bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool on);
