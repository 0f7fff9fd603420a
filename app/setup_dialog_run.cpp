#include "app/setup_dialog_run.h"

#include <vector>

#include "app/app.h"
#include "app/jabber_wnd.h"
#include "platform/controls.h"

namespace {

struct OpenDialog {
  HWND dialog;
  DLGPROC procedure;
};

// Setup dialogs nest (Preferences opens Advanced, which opens Proxy): innermost last.
std::vector<OpenDialog>& OpenDialogs() {
  static std::vector<OpenDialog> dialogs;
  return dialogs;
}

// Binds the dialog's HWND to its procedure when it is initialised, then passes every message on.
LRESULT TrackingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  std::vector<OpenDialog>& dialogs = OpenDialogs();
  if (message == WM_INITDIALOG && !dialogs.empty() && dialogs.back().dialog == nullptr) {
    dialogs.back().dialog = dialog;
  }
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
    if (it->dialog == dialog) {
      return it->procedure(dialog, message, wParam, lParam);
    }
  }
  return FALSE;
}

}  // namespace

HWND SetupDialogOwner() {
  MApp* app = App();
  return app != nullptr && app->mainFrame != nullptr ? app->mainFrame->GetHwnd() : nullptr;
}

LRESULT RunSetupDialog(const DIALOGTEMPLATE& dialog, HWND owner, DLGPROC procedure, LPARAM param) {
  OpenDialogs().push_back({nullptr, procedure});
  LRESULT result =
      DialogBoxIndirectParam(App() != nullptr ? App()->instance : nullptr, &dialog,
                             owner != nullptr ? owner : SetupDialogOwner(), TrackingProc, param);
  OpenDialogs().pop_back();
  return result;
}

HWND OpenSetupDialog() {
  const std::vector<OpenDialog>& dialogs = OpenDialogs();
  return dialogs.empty() ? nullptr : dialogs.back().dialog;
}

bool IsChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void SetChecked(HWND dialog, int id, bool on) {
  CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

