#include "ui/account_dialogs.h"

#include <map>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/message_box.h"

namespace {

constexpr int kStatic = -1;
constexpr int kTextChars = 256;  // 255 characters and the terminator

// One dialog being run: where its edits come from and go to, and the check on OK.
struct DialogRun {
  struct Edit {
    int id;
    wmstring* value;
  };
  std::vector<Edit> edits;
  bool* checkBox = nullptr;  // 104 of dialog 118
  const JabberSetupChecker* check = nullptr;
  JabberSetupFields* fields = nullptr;
};

std::map<HWND, DialogRun*>& Runs() {
  static std::map<HWND, DialogRun*> runs;
  return runs;
}

void FillControls(HWND dialog, const DialogRun& run) {
  for (const DialogRun::Edit& edit : run.edits) {
    SetDlgItemTextW(dialog, edit.id, edit.value->c_str());
    SendDlgItemMessage(dialog, edit.id, EM_LIMITTEXT, kTextChars - 1, 0);
  }
  if (run.checkBox) {
    CheckDlgButton(dialog, IDC_JABBER_CREATE_ACCOUNT, *run.checkBox ? BST_CHECKED : BST_UNCHECKED);
  }
}

// Reads the typed values; true when the dialog may close.
bool TakeControls(HWND dialog, DialogRun& run) {
  for (const DialogRun::Edit& edit : run.edits) {
    WCHAR text[kTextChars] = {};
    GetDlgItemTextW(dialog, edit.id, text, kTextChars);
    *edit.value = text;
  }
  if (run.checkBox) {
    *run.checkBox = IsDlgButtonChecked(dialog, IDC_JABBER_CREATE_ACCOUNT) == BST_CHECKED;
  }
  if (!run.check) {
    return true;
  }
  JabberSetupCheck result = (*run.check)(*run.fields);
  if (!result.ok) {
    MessageBoxW(dialog, result.text, result.caption, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
    SetDlgItemTextW(dialog, IDC_JABBER_RESOURCE, run.fields->resource.c_str());
  }
  return result.ok;
}

// Only OK closes these dialogs: Cancel, closing and Escape are swallowed.
LRESULT AccountDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<DialogRun*>(lParam);
    Runs()[dialog] = run;
    FillControls(dialog, *run);
    return TRUE;
  }
  auto found = Runs().find(dialog);
  if (found == Runs().end()) {
    return FALSE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    if (TakeControls(dialog, *found->second)) {
      Runs().erase(found);
      EndDialog(dialog, IDOK);
    }
    return TRUE;
  }
  if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE ||
      (message == WM_KEYDOWN && wParam == VK_ESCAPE)) {
    return TRUE;
  }
  return FALSE;
}

bool Run(HWND parent, const WCHAR* caption, const DIALOGITEM* items, int count, DialogRun& run) {
  DIALOGTEMPLATE dialog{caption, items, count};
  LRESULT result = DialogBoxIndirectParam(nullptr, &dialog, parent, AccountDialogProc,
                                          reinterpret_cast<LPARAM>(&run));
  // A dialog that ended without OK (its owner went) leaves no entry behind.
  for (auto it = Runs().begin(); it != Runs().end();) {
    it = it->second == &run ? Runs().erase(it) : std::next(it);
  }
  return result == IDOK;
}

struct Labels {
  int dialogId;
  const WCHAR* user;
};

// What the user name (setup) or the address (add user) is called on each network.
const WCHAR* LabelFor(int dialogId) {
  static const Labels kLabels[] = {
      {129, u"MSN e-mail address:"},
      {123, u"Yahoo! ID:"},
      {127, u"ICQ number:"},
      {125, u"Screen name:"},
      {117, u"Address (username or username@servername):"},
      {128, u"MSN address (username@domain):"},
      {130, u"Yahoo! ID:"},
      {126, u"ICQ number:"},
      {124, u"Screen name:"},
  };
  for (const Labels& labels : kLabels) {
    if (labels.dialogId == dialogId) {
      return labels.user;
    }
  }
  return u"User name:";
}

}  // namespace

bool MAccountDialogs::RunJabberSetup(HWND parent, JabberSetupFields& fields,
                                     const JabberSetupChecker& check) {
  static const DIALOGITEM kItems[] = {
      {WC_STATIC, u"Server:", kStatic, SS_LEFT, 8, 8, 90, 20},
      {WC_EDIT, u"", IDC_JABBER_SERVER, ES_AUTOHSCROLL, 100, 8, 200, 22},
      {WC_STATIC, u"Username:", kStatic, SS_LEFT, 8, 38, 90, 20},
      {WC_EDIT, u"", IDC_JABBER_USERNAME, ES_AUTOHSCROLL, 100, 38, 200, 22},
      {WC_STATIC, u"Password:", kStatic, SS_LEFT, 8, 68, 90, 20},
      {WC_EDIT, u"", IDC_JABBER_PASSWORD, ES_AUTOHSCROLL | ES_PASSWORD, 100, 68, 200, 22},
      {WC_STATIC, u"Resource:", kStatic, SS_LEFT, 8, 98, 90, 20},
      {WC_EDIT, u"", IDC_JABBER_RESOURCE, ES_AUTOHSCROLL, 100, 98, 200, 22},
      {WC_BUTTON, u"Create New Account", IDC_JABBER_CREATE_ACCOUNT, BS_AUTOCHECKBOX, 8, 130, 290,
       22},
  };
  DialogRun run;
  run.edits = {{IDC_JABBER_SERVER, &fields.server},
               {IDC_JABBER_USERNAME, &fields.username},
               {IDC_JABBER_PASSWORD, &fields.password},
               {IDC_JABBER_RESOURCE, &fields.resource}};
  run.checkBox = &fields.createAccount;
  run.check = &check;
  run.fields = &fields;
  return Run(parent, u"Jabber Service Setup", kItems, static_cast<int>(std::size(kItems)), run);
}

bool MAccountDialogs::RunGatewaySetup(HWND parent, int dialogId, const WCHAR* caption,
                                      wmstring& user, wmstring& password) {
  const DIALOGITEM items[] = {
      {WC_STATIC, LabelFor(dialogId), kStatic, SS_LEFT, 8, 8, 290, 20},
      {WC_EDIT, u"", IDC_GATEWAY_USERNAME, ES_AUTOHSCROLL, 8, 30, 290, 22},
      {WC_STATIC, u"Password:", kStatic, SS_LEFT, 8, 62, 290, 20},
      {WC_EDIT, u"", IDC_GATEWAY_PASSWORD, ES_AUTOHSCROLL | ES_PASSWORD, 8, 84, 290, 22},
  };
  DialogRun run;
  run.edits = {{IDC_GATEWAY_USERNAME, &user}, {IDC_GATEWAY_PASSWORD, &password}};
  return Run(parent, caption, items, static_cast<int>(std::size(items)), run);
}

bool MAccountDialogs::RunAddUser(HWND parent, int dialogId, const WCHAR* caption, int editId,
                                 wmstring& address) {
  const DIALOGITEM items[] = {
      {WC_STATIC, LabelFor(dialogId), kStatic, SS_LEFT, 8, 8, 290, 20},
      {WC_EDIT, u"", editId, ES_AUTOHSCROLL, 8, 30, 290, 22},
  };
  DialogRun run;
  run.edits = {{editId, &address}};
  return Run(parent, caption, items, static_cast<int>(std::size(items)), run);
}

void InstallAccountDialogs() {
  static MAccountDialogs dialogs;
  SetAccountDialogs(&dialogs);
}
