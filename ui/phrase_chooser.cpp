#include "ui/phrase_chooser.h"

#include <iterator>
#include <string>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/shipped_file.h"
#include "xml/text_convert.h"

MRididEdazovChooser* MRididEdazovChooser::running_ = nullptr;

namespace {

constexpr int kMargin = 8;
constexpr int kWidth = 344;
constexpr int kEditHeight = 64;
constexpr int kButtonTop = kMargin + kEditHeight + 6;
constexpr int kButtonWidth = 64;
constexpr int kButtonHeight = 26;
constexpr int kListTop = kButtonTop + kButtonHeight + 6;
constexpr int kListHeight = 300;

int ButtonX(int column) {
  return kMargin + column * (kButtonWidth + 6);
}

// Loads the first file that parses: the given one, then the fallback (written from the shipped
// default when it is missing). Neither: no phrases, the user can still type.
void LoadPhrases(const mstring& path, PhraseList& phrases) {
  if (!path.empty() && ReadPhraseFile(path, phrases)) {
    return;
  }
  InstallShippedFile(kQuickPhraseFallbackPath, "RididEdazov.xml");
  ReadPhraseFile(kQuickPhraseFallbackPath, phrases);
}

}  // namespace

mstring QuickPhrasePath(const mstring& programFolder) {
  mstring path = programFolder;
  if (path.empty() || path.c_str()[path.length() - 1] != '\\') {
    path += "\\";
  }
  path += "RididEdazov.xml";
  return path;
}

MRididEdazovChooser::MRididEdazovChooser(const mstring& path, HWND owner) {
  if (running_ != nullptr) {
    return;  // the open chooser keeps the dialog procedure
  }
  LoadPhrases(path, phrases_);
  static const DIALOGITEM kItems[] = {
      {WC_EDIT, u"", IDC_PHRASE_EDIT, WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, kMargin, kMargin,
       kWidth, kEditHeight},
      {WC_BUTTON, u".", IDC_PHRASE_PERIOD, BS_PUSHBUTTON, ButtonX(0), kButtonTop, kButtonWidth,
       kButtonHeight},
      {WC_BUTTON, u"!", IDC_PHRASE_EXCLAIM, BS_PUSHBUTTON, ButtonX(1), kButtonTop, kButtonWidth,
       kButtonHeight},
      {WC_BUTTON, u"?", IDC_PHRASE_QUESTION, BS_PUSHBUTTON, ButtonX(2), kButtonTop, kButtonWidth,
       kButtonHeight},
      {WC_BUTTON, u"", IDC_PHRASE_BLANK, BS_PUSHBUTTON, ButtonX(3), kButtonTop, kButtonWidth,
       kButtonHeight},
      {WC_BUTTON, u"Clear", IDC_PHRASE_CLEAR, BS_PUSHBUTTON, ButtonX(4), kButtonTop, kButtonWidth,
       kButtonHeight},
      {WC_LISTBOX, u"", IDC_PHRASE_LIST, LBS_NOTIFY | WS_BORDER | WS_VSCROLL, kMargin, kListTop,
       kWidth, kListHeight},
  };
  DIALOGTEMPLATE dialog{u"RididEdazov", kItems, static_cast<int>(std::size(kItems))};
  running_ = this;
  DialogBoxIndirectParam(nullptr, &dialog, owner, DialogProc, 0);
  running_ = nullptr;
  dialog_ = nullptr;
}

MRididEdazovChooser::~MRididEdazovChooser() = default;

LRESULT MRididEdazovChooser::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  MRididEdazovChooser* self = running_;
  if (self == nullptr) {
    return FALSE;
  }
  if (message == WM_INITDIALOG) {
    self->dialog_ = dialog;
    self->Reset();
    return TRUE;
  }
  if (message == WM_COMMAND) {
    return self->OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
  }
  return FALSE;
}

bool MRididEdazovChooser::OnCommand(WORD id, WORD code) {
  switch (id) {
    case IDC_PHRASE_LIST:
      if (code == LBN_SELCHANGE) {
        Choose();
      }
      return true;
    case IDC_PHRASE_PERIOD:
      AppendPunctuation("1");
      return true;
    case IDC_PHRASE_QUESTION:
      AppendPunctuation("2");
      return true;
    case IDC_PHRASE_EXCLAIM:
      AppendPunctuation("3");
      return true;
    case IDC_PHRASE_BLANK:
      AppendPunctuation("4");
      return true;
    case IDC_PHRASE_CLEAR:
      AskClear();
      return true;
    case IDOK:
      result_ = wide_to_utf8(EditText());
      EndDialog(dialog_, IDOK);
      return true;
    default:
      return true;  // nothing else ends the dialog
  }
}

void MRididEdazovChooser::Reset() {
  SetDlgItemTextW(dialog_, IDC_PHRASE_EDIT, u"");
  std::vector<const MRididEdazov*> roots;
  for (const auto& phrase : phrases_) {
    if (phrase->root != 0) {
      roots.push_back(phrase.get());
    }
  }
  List(roots);
  SendDlgItemMessage(dialog_, IDC_PHRASE_LIST, LB_SETCURSEL, 0, 0);
  SetFocus(GetDlgItem(dialog_, IDC_PHRASE_LIST));
}

void MRididEdazovChooser::List(const std::vector<const MRididEdazov*>& choices) {
  SendDlgItemMessage(dialog_, IDC_PHRASE_LIST, LB_RESETCONTENT, 0, 0);
  for (const MRididEdazov* phrase : choices) {
    wmstring text = utf8_to_wide(phrase->text);
    LRESULT index = SendDlgItemMessage(dialog_, IDC_PHRASE_LIST, LB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(text.c_str()));
    SendDlgItemMessage(dialog_, IDC_PHRASE_LIST, LB_SETITEMDATA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(phrase));
  }
}

void MRididEdazovChooser::Choose() {
  LRESULT index = SendDlgItemMessage(dialog_, IDC_PHRASE_LIST, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) {
    return;
  }
  LRESULT data =
      SendDlgItemMessage(dialog_, IDC_PHRASE_LIST, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  const auto* chosen = reinterpret_cast<const MRididEdazov*>(data);
  if (chosen == nullptr || data == LB_ERR) {
    return;
  }
  AppendText(chosen->text, true);
  std::vector<const MRididEdazov*> next;
  for (const mstring& id : chosen->rphraseids) {
    if (const MRididEdazov* phrase = FindPhrase(phrases_, id)) {
      next.push_back(phrase);
    }
  }
  List(next);  // `chosen` stays valid: the list's items point into phrases_
}

void MRididEdazovChooser::AppendText(const mstring& text, bool spaced) {
  wmstring composed = EditText();
  if (spaced && !composed.empty()) {
    composed += u" ";
  }
  composed += utf8_to_wide(text);
  SetDlgItemTextW(dialog_, IDC_PHRASE_EDIT, composed.c_str());
}

void MRididEdazovChooser::AppendPunctuation(const char* id) {
  if (const MRididEdazov* phrase = FindPhrase(phrases_, id)) {
    AppendText(phrase->text, false);
  }
}

void MRididEdazovChooser::AskClear() {
  if (MessageBoxW(dialog_, u"Clear Phrase?", u"RuzadAzoder(id)", MB_YESNO | MB_ICONQUESTION) ==
      IDYES) {
    Reset();
  }
}

wmstring MRididEdazovChooser::EditText() const {
  HWND edit = GetDlgItem(dialog_, IDC_PHRASE_EDIT);
  int length = GetWindowTextLengthW(edit);
  if (length <= 0) {
    return wmstring();
  }
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  GetWindowTextW(edit, text.data(), length + 1);
  return wmstring(text.c_str());
}
