// Fonts (dialog 239 "Fonts"): the face and size of the window at the front. The choice is
// given to the window at once and kept in the settings for this run.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "app/app.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "ui/wnd.h"
#include "xml/text_convert.h"

namespace {

constexpr int kFaceCombo = 8044;
constexpr int kSizeCombo = 8045;
constexpr int kDefaultSize = 8;

using FaceSet = std::set<std::u16string>;

// The window the running dialog changes (the front window when it opened).
MWnd* fontTarget = nullptr;

int ScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int AddFace(const LOGFONT* font, LPARAM param) {
  reinterpret_cast<FaceSet*>(param)->insert(font->lfFaceName);
  return 1;
}

int AddFacesOfFamily(const LOGFONT* family, LPARAM param) {
  EnumFontFamiliesW(nullptr, family->lfFaceName, AddFace, param);
  return 1;
}

// Every face of every family of the screen, sorted, each once.
FaceSet ScreenFaces() {
  FaceSet faces;
  EnumFontFamiliesW(nullptr, nullptr, AddFacesOfFamily, reinterpret_cast<LPARAM>(&faces));
  return faces;
}

void FillFaces(HWND dialog, const WCHAR* storedFace) {
  LRESULT chosen = 0;
  for (const std::u16string& face : ScreenFaces()) {
    LRESULT index = SendDlgItemMessage(dialog, kFaceCombo, CB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(face.c_str()));
    if (face == storedFace) {
      chosen = index;
    }
  }
  SendDlgItemMessage(dialog, kFaceCombo, CB_SETCURSEL, chosen, 0);
}

void FillSizes(HWND dialog, int selectedIndex) {
  SendDlgItemMessage(dialog, kSizeCombo, CB_RESETCONTENT, 0, 0);
  for (int size : FontSizes()) {
    wmstring text(std::to_string(size).c_str());
    SendDlgItemMessage(dialog, kSizeCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendDlgItemMessage(dialog, kSizeCombo, CB_SETCURSEL, selectedIndex, 0);
}

int ChosenSize(HWND dialog) {
  LRESULT index = SendDlgItemMessage(dialog, kSizeCombo, CB_GETCURSEL, 0, 0);
  const std::vector<int>& sizes = FontSizes();
  return index >= 0 && index < static_cast<LRESULT>(sizes.size()) ? sizes[index] : kDefaultSize;
}

// The font the dialog makes: the chosen face at the chosen size in points on this screen.
LOGFONT ChosenFont(HWND dialog) {
  LOGFONT font{};
  wmstring face = DialogText(dialog, kFaceCombo);
  for (int i = 0; i < LF_FACESIZE - 1 && face.c_str()[i] != 0; ++i) {
    font.lfFaceName[i] = face.c_str()[i];
  }
  font.lfHeight = -MulDiv(ChosenSize(dialog), ScreenPixelsPerInch(), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_COMPAT_QUALITY;
  return font;
}

LRESULT FontsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  MSettings& settings = *App()->settings;
  MWnd* target = fontTarget;
  if (message == WM_INITDIALOG) {
    settings.Load();
    LOGFONT stored = settings.GetFont(wide_to_mb(target->GetName()));
    FillFaces(dialog, stored.lfFaceName);
    FillSizes(dialog, NearestFontSizeIndex(stored.lfHeight, ScreenPixelsPerInch()));
    return TRUE;
  }
  if (message != WM_COMMAND) {
    return FALSE;
  }
  if (LOWORD(wParam) == kFaceCombo && HIWORD(wParam) == CBN_SELCHANGE) {
    FillSizes(dialog, static_cast<int>(SendDlgItemMessage(dialog, kSizeCombo, CB_GETCURSEL, 0, 0)));
    return TRUE;
  }
  if (LOWORD(wParam) == IDOK) {
    LOGFONT font = ChosenFont(dialog);
    EndDialog(dialog, IDOK);
    target->SetFontIndirect(target->GetHwnd(), font);
    settings.SetFont(wide_to_mb(target->GetName()), font);
    settings.Save();
    return TRUE;
  }
  return FALSE;
}

}  // namespace

const std::vector<int>& FontSizes() {
  static const std::vector<int> sizes{6, 8, 9, 10, 11, 12, 14, 18, 24, 36};
  return sizes;
}

int NearestFontSizeIndex(LONG height, int pixelsPerInch) {
  const std::vector<int>& sizes = FontSizes();
  if (height == 0 || pixelsPerInch <= 0) {
    return 1;  // "8"
  }
  // The height in points, rounded; a cell height (positive) is taken as the character height.
  double points = std::abs(static_cast<double>(height)) * 72.0 / pixelsPerInch;
  int best = 0;
  for (int i = 1; i < static_cast<int>(sizes.size()); ++i) {
    if (std::abs(sizes[i] - points) < std::abs(sizes[best] - points)) {
      best = i;
    }
  }
  return best;
}

void FontsDialog() {
  MApp* app = App();
  MWnd* front = app != nullptr && app->settings != nullptr ? app->windows.Top() : nullptr;
  if (front == nullptr) {
    return;
  }
  static const DIALOGITEM items[] = {
      {WC_STATIC, u"Font:", kNoId, SS_LEFT, kMargin, RowY(0), kLabelWidth, kRowHeight},
      {WC_COMBOBOX, u"", kFaceCombo, CBS_DROPDOWNLIST, kFieldX, RowY(0), kFieldWidth, kRowHeight},
      {WC_STATIC, u"Size:", kNoId, SS_LEFT, kMargin, RowY(1), kLabelWidth, kRowHeight},
      {WC_COMBOBOX, u"", kSizeCombo, CBS_DROPDOWNLIST, kFieldX, RowY(1), 100, kRowHeight}};
  static const DIALOGTEMPLATE fonts{u"Fonts", items, static_cast<int>(std::size(items))};
  fontTarget = front;
  RunSetupDialog(fonts, nullptr, FontsProc);
  fontTarget = nullptr;
}
