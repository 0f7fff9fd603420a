// Modal dialogs from templates. The dialog is a window that covers its owner's client area
// (the handheld's full-screen dialogs) with its caption and a Done button on top; while it
// runs, the owner's menu bar is disabled and the program's message loop goes on inside it.
#include <QFont>
#include <QLabel>
#include <QPushButton>

#include "platform/dialog.h"
#include "platform/qt/qt_window.h"

namespace {

constexpr int kCaptionHeight = 28;

struct DialogRun {
  DLGPROC procedure = nullptr;
  LPARAM param = 0;
  bool ended = false;
  LRESULT result = 0;
};

DialogRun* RunOf(HWND dialog) {
  return reinterpret_cast<DialogRun*>(GetWindowLongPtr(dialog, GWL_USERDATA));
}

LRESULT DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCT*>(lParam);
    SetWindowLongPtr(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return 0;
  }
  DialogRun* run = RunOf(dialog);
  if (run == nullptr) {
    return DefWindowProc(dialog, message, wParam, lParam);
  }
  if (message != WM_PAINT && run->procedure(dialog, message, wParam, lParam) != FALSE) {
    return TRUE;
  }
  // The defaults of a dialog: OK and Cancel end it, so does closing it or Escape.
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  if (message == WM_CLOSE || (message == WM_KEYDOWN && wParam == VK_ESCAPE)) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  // Enter that no control kept for itself (a multi-line field does) is the default button, OK,
  // which goes through the dialog's procedure like a press of it.
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    return 0;
  }
  return message == WM_CLOSE ? 0 : DefWindowProc(dialog, message, wParam, lParam);
}

void AddCaption(HWND dialog, const DIALOGTEMPLATE* dialogTemplate) {
  QWidget* widget = WidgetOf(dialog);
  auto* caption = new QLabel(ToQString(dialogTemplate->caption), widget);
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  caption->setGeometry(6, 0, std::max(widget->width() - 80, 40), kCaptionHeight);
  caption->show();
  auto* done = new QPushButton(QStringLiteral("Done"), widget);
  done->setGeometry(std::max(widget->width() - 70, 0), 2, 64, kCaptionHeight - 4);
  QObject::connect(done, &QPushButton::clicked,
                   [dialog] { PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
  done->show();
}

HWND CreateDialogWindow(const DIALOGTEMPLATE* dialogTemplate, HWND owner, DialogRun* run) {
  static const WNDCLASS dialogClass{0,       DialogProc, 0,       0,       nullptr,
                                    nullptr, nullptr,    nullptr, nullptr, u"JDIALOG"};
  RegisterClassW(&dialogClass);
  RECT area{0, 0, 320, 400};
  bool child = owner != nullptr && GetClientRect(owner, &area);
  DWORD style = (child ? WS_CHILD : 0) | WS_VISIBLE | WS_CLIPCHILDREN;
  HWND dialog =
      CreateWindowExW(0, u"JDIALOG", dialogTemplate->caption, style, 0, 0, area.right - area.left,
                      area.bottom - area.top, child ? owner : nullptr, nullptr, nullptr, run);
  if (dialog == nullptr) {
    return nullptr;
  }
  if (QWidget* widget = WidgetOf(dialog)) {
    widget->raise();
  }
  AddCaption(dialog, dialogTemplate);
  for (int i = 0; i < dialogTemplate->count; ++i) {
    const DIALOGITEM& item = dialogTemplate->items[i];
    CreateWindowExW(0, item.className, item.text, WS_CHILD | WS_VISIBLE | item.style, item.x,
                    item.y + kCaptionHeight, item.width, item.height, dialog,
                    reinterpret_cast<HMENU>(static_cast<std::intptr_t>(item.id)), nullptr, nullptr);
  }
  return dialog;
}

}  // namespace

LRESULT DialogBoxIndirectParam(HINSTANCE, const DIALOGTEMPLATE* dialogTemplate, HWND owner,
                               DLGPROC procedure, LPARAM param) {
  if (dialogTemplate == nullptr || procedure == nullptr) {
    return -1;
  }
  DialogRun run{procedure, param, false, 0};
  HWND dialog = CreateDialogWindow(dialogTemplate, owner, &run);
  if (dialog == nullptr) {
    return -1;
  }
  QtWindow* ownerState = NativeOf(owner);
  HWND bar = ownerState != nullptr ? ownerState->menuBar : nullptr;
  BOOL barWasDisabled = bar != nullptr ? EnableWindow(bar, FALSE) : FALSE;
  // The keyboard starts in the first control that takes input, as with a tab stop: a label
  // cannot take it.
  HWND first = nullptr;
  for (int i = 0; i < dialogTemplate->count && first == nullptr; ++i) {
    const DIALOGITEM& item = dialogTemplate->items[i];
    if (QString::fromUtf16(item.className).compare(QLatin1String("STATIC"), Qt::CaseInsensitive) !=
        0) {
      first = GetDlgItem(dialog, item.id);
    }
  }
  if (SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) != FALSE &&
      first != nullptr) {
    SetFocus(first);
  }
  while (!run.ended && IsWindow(dialog)) {
    MSG message;
    BOOL got = GetMessage(&message, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // the main loop must still see it
      break;
    }
    TranslateMessage(&message);
    DispatchMessage(&message);
  }
  if (bar != nullptr && !barWasDisabled) {
    EnableWindow(bar, TRUE);
  }
  if (IsWindow(dialog)) {
    SetWindowLongPtr(dialog, GWL_USERDATA, 0);
    DestroyWindow(dialog);
  }
  return run.ended ? run.result : IDCANCEL;
}

BOOL EndDialog(HWND dialog, LRESULT result) {
  DialogRun* run = RunOf(dialog);
  if (run == nullptr) {
    return FALSE;
  }
  run->ended = true;
  run->result = result;
  PostMessage(dialog, WM_NULL, 0, 0);  // wakes the dialog's loop
  return TRUE;
}

BOOL SetDlgItemTextW(HWND dialog, int id, const WCHAR* text) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, WCHAR* text, int maximum) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) {
    if (text != nullptr && maximum > 0) {
      text[0] = 0;
    }
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(item, text, maximum));
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr ? SendMessage(item, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  return SendDlgItemMessage(dialog, id, BM_SETCHECK, check, 0) == 0 &&
                 GetDlgItem(dialog, id) != nullptr
             ? TRUE
             : FALSE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendDlgItemMessage(dialog, id, BM_GETCHECK, 0, 0));
}
