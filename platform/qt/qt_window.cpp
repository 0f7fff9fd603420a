// Windows with widgets: creation and destruction, the shared helpers of the backend, and
// the calls on position, size, visibility, text and focus.
#include "platform/qt/qt_window.h"

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <set>
#include <vector>

#include "platform/qt/qt_notification_bubble.h"

namespace {

// Every state made by CreateNativeWindow and not yet released.
std::set<QtWindow*>& States() {
  static auto* states = new std::set<QtWindow*>;
  return *states;
}

}  // namespace

bool IsLiveState(const QtWindow* state) {
  return States().count(const_cast<QtWindow*>(state)) != 0;
}

QtWindow* NativeOf(HWND window) {
  if (window == nullptr || !IsWindow(window)) {
    return nullptr;
  }
  auto* state = static_cast<QtWindow*>(window->native);
  return States().count(state) != 0 ? state : nullptr;
}

QWidget* WidgetOf(HWND window) {
  QtWindow* state = NativeOf(window);
  return state != nullptr ? state->widget.data() : nullptr;
}

HWND HwndOfWidget(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    QVariant value = widget->property("orvikHwnd");
    if (value.isValid()) {
      return reinterpret_cast<HWND>(value.value<quintptr>());
    }
  }
  return nullptr;
}

HWND CreateNativeWindow(const char* className, const QString& name, DWORD style, int x, int y,
                        int width, int height, HWND parent, int id, void* param,
                        WidgetFactory makeWidget) {
  QtWindow* parentState = NativeOf(parent);
  auto* state = new QtWindow;
  state->parent = parentState != nullptr ? parent : nullptr;
  state->id = id;
  state->style = style;
  state->className = QString::fromUtf8(className);
  state->text = name;
  state->topLevel = parentState == nullptr || (style & WS_CHILD) == 0;
  QWidget* parentWidget = state->topLevel ? nullptr : parentState->widget.data();
  QWidget* widget = makeWidget(state, parentWidget);
  state->widget = widget;
  if (state->topLevel) {
    QRect screen = QApplication::primaryScreen()->availableGeometry();
    if (width == CW_USEDEFAULT || height == CW_USEDEFAULT) {
      width = std::min(480, screen.width());
      height = std::min(640, screen.height());
    }
    if (x == CW_USEDEFAULT || y == CW_USEDEFAULT) {
      x = screen.x() + (screen.width() - width) / 2;
      y = screen.y() + (screen.height() - height) / 2;
    }
    widget->setWindowTitle(name);
  }
  widget->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
  States().insert(state);
  QByteArray narrowName = name.toUtf8();
  HWND window = CreateWindowWithNative(className, narrowName.constData(), parent, param, state);
  if (window == nullptr) {
    if (States().count(state) != 0) {  // the class was unknown: nothing released it
      States().erase(state);
      delete widget;
      delete state;
    }
    return nullptr;
  }
  if ((style & WS_VISIBLE) != 0 && NativeOf(window) != nullptr) {
    widget->show();
  }
  return window;
}

// The attach hook: the widget learns which window it shows.
void AttachNativeWindow(HWND window, void* native) {
  auto* state = static_cast<QtWindow*>(native);
  if (States().count(state) == 0) {
    return;
  }
  state->hwnd = window;
  if (QWidget* widget = state->widget.data()) {
    widget->setProperty("orvikHwnd", QVariant::fromValue(reinterpret_cast<quintptr>(window)));
  }
}

// The destroy hook: the window's child windows go first, then its widget.
void ReleaseNativeWindow(HWND window, void* native) {
  auto* state = static_cast<QtWindow*>(native);
  if (States().count(state) == 0) {
    return;
  }
  std::vector<HWND> children;
  for (QtWindow* other : States()) {
    if (other->parent == window && other->hwnd != nullptr) {
      children.push_back(other->hwnd);
    }
  }
  for (HWND child : children) {
    DestroyWindow(child);
  }
  States().erase(state);
  if (QWidget* widget = state->widget.data()) {
    widget->setProperty("orvikHwnd", QVariant());
    widget->blockSignals(true);  // its signal handlers refer to the state that goes now
    widget->hide();
    // The window may be destroyed from inside one of its widget's own events.
    widget->deleteLater();
  }
  delete state;
}

LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtr(window, GWL_WNDPROC));
  return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
}

void NotifyParentCommand(const QtWindow* control, WORD code) {
  if (control->parent != nullptr) {
    SendMessage(control->parent, WM_COMMAND, MAKEWPARAM(control->id, code),
                reinterpret_cast<LPARAM>(control->hwnd));
  }
}

LRESULT NotifyParent(const QtWindow* control, NMHDR* header) {
  header->hwndFrom = control->hwnd;
  header->idFrom = static_cast<UINT_PTR>(control->id);
  if (control->parent == nullptr) {
    return 0;
  }
  return SendMessage(control->parent, WM_NOTIFY, static_cast<WPARAM>(control->id),
                     reinterpret_cast<LPARAM>(header));
}

QString ToQString(const WCHAR* text, int count) {
  if (text == nullptr) {
    return QString();
  }
  if (count < 0) {
    count = 0;
    while (text[count] != 0) {
      ++count;
    }
  }
  return QString::fromUtf16(text, count);
}

int CopyToBuffer(const QString& text, WCHAR* buffer, int size) {
  if (buffer == nullptr || size <= 0) {
    return 0;
  }
  int count = std::min<int>(static_cast<int>(text.size()), size - 1);
  for (int i = 0; i < count; ++i) {
    buffer[i] = static_cast<WCHAR>(text.at(i).unicode());
  }
  buffer[count] = 0;
  return count;
}

QColor ToQColor(COLORREF colour) {
  return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

QSize ClientSize(const QtWindow* state) {
  QWidget* widget = state->widget.data();
  if (widget == nullptr) {
    return QSize(0, 0);
  }
  int width = widget->width();
  int height = widget->height();
  if (state->scrollBar != nullptr) {
    width -= state->scrollBar->sizeHint().width();
  }
  if (state->menuBar != nullptr) {
    height -= MenuBarHeight(state->menuBar);
  }
  return QSize(std::max(width, 0), std::max(height, 0));
}

// --- the calls of window.h ---------------------------------------------------------------------

BOOL ShowWindow(HWND window, int command) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr) {
    return FALSE;
  }
  BOOL wasVisible = widget->isVisible() ? TRUE : FALSE;
  if (command == SW_HIDE) {
    widget->hide();
  } else if (command == SW_MINIMIZE) {
    widget->showMinimized();
  } else {
    widget->show();
  }
  return wasVisible;
}

BOOL IsWindowVisible(HWND window) {
  QWidget* widget = WidgetOf(window);
  return widget != nullptr && widget->isVisible() ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr) {
    return FALSE;
  }
  BOOL wasDisabled = widget->isEnabled() ? FALSE : TRUE;
  widget->setEnabled(enable != FALSE);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
  QWidget* widget = WidgetOf(window);
  return widget != nullptr && widget->isEnabled() ? TRUE : FALSE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  QtWindow* state = NativeOf(window);
  if (state == nullptr || state->widget.isNull()) {
    return FALSE;
  }
  state->widget->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
  if (repaint) {
    state->widget->update();
  }
  return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr) {
    return FALSE;
  }
  QRect geometry = widget->geometry();
  if ((flags & SWP_NOMOVE) == 0) {
    geometry.moveTo(x, y);
  }
  if ((flags & SWP_NOSIZE) == 0) {
    geometry.setSize(QSize(std::max(width, 0), std::max(height, 0)));
  }
  widget->setGeometry(geometry);
  if ((flags & SWP_NOZORDER) == 0) {
    widget->raise();
    // A notification stays over the window brought forward beneath it.
    if (QWidget* parent = widget->parentWidget()) {
      RaiseNotificationBubbles(parent);
    }
  }
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  QtWindow* state = NativeOf(window);
  if (state == nullptr || rect == nullptr) {
    return FALSE;
  }
  QSize size = ClientSize(state);
  *rect = RECT{0, 0, size.width(), size.height()};
  return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr || rect == nullptr) {
    return FALSE;
  }
  QPoint origin = widget->mapToGlobal(QPoint(0, 0));
  *rect = RECT{origin.x(), origin.y(), origin.x() + widget->width(), origin.y() + widget->height()};
  return TRUE;
}

HWND GetParent(HWND window) {
  QtWindow* state = NativeOf(window);
  return state != nullptr ? state->parent : nullptr;
}

int GetDlgCtrlID(HWND window) {
  QtWindow* state = NativeOf(window);
  return state != nullptr ? state->id : 0;
}

HWND GetDlgItem(HWND parent, int id) {
  QWidget* widget = WidgetOf(parent);
  if (widget == nullptr) {
    return nullptr;
  }
  for (QWidget* child : widget->findChildren<QWidget*>()) {
    QVariant value = child->property("orvikHwnd");
    if (!value.isValid()) {
      continue;
    }
    auto hwnd = reinterpret_cast<HWND>(value.value<quintptr>());
    QtWindow* state = NativeOf(hwnd);
    if (state != nullptr && state->parent == parent && state->id == id) {
      return hwnd;
    }
  }
  return nullptr;
}

BOOL SetWindowTextW(HWND window, const WCHAR* text) {
  return SendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int GetWindowTextW(HWND window, WCHAR* text, int maximum) {
  return static_cast<int>(SendMessage(window, WM_GETTEXT, static_cast<WPARAM>(maximum),
                                      reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND window) {
  return static_cast<int>(SendMessage(window, WM_GETTEXTLENGTH, 0, 0));
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr) {
    return FALSE;
  }
  if (rect == nullptr) {
    widget->update();
  } else {
    widget->update(
        QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
  }
  return TRUE;
}

BOOL UpdateWindow(HWND window) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr) {
    return FALSE;
  }
  if (widget->isVisible()) {
    widget->repaint();
  }
  return TRUE;
}

HWND SetFocus(HWND window) {
  HWND previous = GetFocus();
  if (QWidget* widget = WidgetOf(window)) {
    widget->setFocus(Qt::OtherFocusReason);
  }
  return previous;
}

HWND GetFocus() {
  return HwndOfWidget(QApplication::focusWidget());
}

HWND SetActiveWindow(HWND window) {
  HWND previous = HwndOfWidget(QApplication::activeWindow());
  if (QWidget* widget = WidgetOf(window)) {
    widget->window()->activateWindow();
  }
  return previous;
}

HWND GetForegroundWindow() {
  return HwndOfWidget(QApplication::activeWindow());
}

BOOL SetForegroundWindow(HWND window) {
  // The handheld's "lowest bit set" form asks for the top-level window with its owned ones.
  auto bits = reinterpret_cast<std::uintptr_t>(window);
  auto* plain = reinterpret_cast<HWND>(bits & ~static_cast<std::uintptr_t>(1));
  QWidget* widget = WidgetOf(plain);
  if (widget == nullptr) {
    return FALSE;
  }
  QWidget* top = widget->window();
  if (top->isMinimized()) {
    top->showNormal();
  }
  top->show();
  top->raise();
  top->activateWindow();
  return TRUE;
}

int GetSystemMetrics(int index) {
  QScreen* screen = QApplication::primaryScreen();
  if (screen == nullptr) {
    return 0;
  }
  switch (index) {
    case SM_CXSCREEN:
      return screen->geometry().width();
    case SM_CYSCREEN:
      return screen->geometry().height();
    case SM_CYMENU:
      return 26;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    default:
      return 0;
  }
}

BOOL SystemParametersInfoW(UINT action, UINT size, void* data, UINT) {
  if (action == SPI_GETWORKAREA && data != nullptr) {
    QScreen* screen = QApplication::primaryScreen();
    if (screen == nullptr) {
      return FALSE;
    }
    QRect area = screen->availableGeometry();
    *static_cast<RECT*>(data) =
        RECT{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
    return TRUE;
  }
  if (action == SPI_GETPLATFORMTYPE && data != nullptr) {
    CopyToBuffer(QStringLiteral("Desktop"), static_cast<WCHAR*>(data),
                 static_cast<int>(size / sizeof(WCHAR)));
    return TRUE;
  }
  return FALSE;
}

namespace {
int cursorDepth = 0;
}

HCURSOR LoadCursor(HINSTANCE, int id) {
  return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(id));
}

HCURSOR SetCursor(HCURSOR cursor) {
  static HCURSOR current = LoadCursor(nullptr, IDC_ARROW);
  HCURSOR previous = current;
  current = cursor;
  auto id = static_cast<int>(reinterpret_cast<std::uintptr_t>(cursor));
  while (cursorDepth > 0) {
    QApplication::restoreOverrideCursor();
    --cursorDepth;
  }
  if (id == IDC_WAIT) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++cursorDepth;
  }
  return previous;
}
