// RegisterClassW and CreateWindowExW: classes of the program get a host widget, the control
// classes their Qt control; a top-level window shows its class icon.
#include <QIcon>
#include <QMap>

#include "platform/qt/qt_images.h"
#include "platform/qt/qt_window.h"

namespace {

QMap<QString, HICON>& ClassIcons() {
  static auto* icons = new QMap<QString, HICON>;
  return *icons;
}

}  // namespace

BOOL RegisterClassW(const WNDCLASS* windowClass) {
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  QString name = ToQString(windowClass->lpszClassName);
  if (!RegisterClass(name.toUtf8().constData(), windowClass->lpfnWndProc)) {
    return FALSE;
  }
  ClassIcons()[name.toUpper()] = windowClass->hIcon;
  return TRUE;
}

HWND CreateWindowExW(DWORD, const WCHAR* className, const WCHAR* windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE,
                     void* param) {
  if (className == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  QString name = ToQString(className);
  int id = static_cast<int>(reinterpret_cast<std::intptr_t>(menu));
  WidgetFactory factory = IsControlClass(name) ? MakeControlWidget : MakeHostWidget;
  HWND window = CreateNativeWindow(name.toUtf8().constData(), ToQString(windowName), style, x, y,
                                   width, height, parent, id, param, factory);
  QtWindow* state = NativeOf(window);
  if (state != nullptr && state->topLevel) {
    HICON icon = ClassIcons().value(name.toUpper(), nullptr);
    if (icon != nullptr && !state->widget.isNull()) {
      state->widget->setWindowIcon(IconOf(icon));
    }
  }
  return window;
}
