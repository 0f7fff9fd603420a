// Simulated input for tests: the same Qt events the desktop would deliver.
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QTreeWidget>

#include "platform/qt/qt_window.h"

namespace {

int QtKeyOf(WPARAM key) {
  switch (key) {
    case VK_RETURN:
      return Qt::Key_Return;
    case VK_BACK:
      return Qt::Key_Backspace;
    case VK_UP:
      return Qt::Key_Up;
    case VK_DOWN:
      return Qt::Key_Down;
    case VK_LEFT:
      return Qt::Key_Left;
    case VK_RIGHT:
      return Qt::Key_Right;
    case VK_ESCAPE:
      return Qt::Key_Escape;
    case VK_PRIOR:
      return Qt::Key_PageUp;
    case VK_NEXT:
      return Qt::Key_PageDown;
    case VK_HOME:
      return Qt::Key_Home;
    case VK_END:
      return Qt::Key_End;
    default:
      return static_cast<int>(key);
  }
}

// The widget that takes mouse input: a scroll area's viewport, otherwise the widget.
QWidget* MouseTarget(QWidget* widget) {
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
    return area->viewport();
  }
  return widget;
}

}  // namespace

BOOL SimulateKey(HWND window, WPARAM virtualKey, WCHAR character) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr) {
    return FALSE;
  }
  QString text = character != 0 ? QString(QChar(character)) : QString();
  QKeyEvent press(QEvent::KeyPress, QtKeyOf(virtualKey), Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, QtKeyOf(virtualKey), Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
  return TRUE;
}

BOOL SimulateKeys(HWND window, const WCHAR* keys) {
  QWidget* widget = WidgetOf(window);
  QKeySequence sequence = QKeySequence::fromString(ToQString(keys));
  if (widget == nullptr || sequence.isEmpty()) {
    return FALSE;
  }
  // The desktop delivers keys to the focused widget; inside this window that is where they go.
  QWidget* focused = QApplication::focusWidget();
  QWidget* target = focused != nullptr && widget->isAncestorOf(focused) ? focused : widget;
  QKeyCombination combination = sequence[0];
  Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
  int key = combination.key();
  QString text;
  if ((modifiers & (Qt::ControlModifier | Qt::MetaModifier)) == 0 && key >= 0x20 && key < 0x7F) {
    QChar typed(key);
    text = (modifiers & Qt::ShiftModifier) != 0 ? typed.toUpper() : typed.toLower();
  }
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(target, &release);
  return TRUE;
}

BOOL SimulateClick(HWND window, int x, int y, BOOL right, BOOL twice) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr) {
    return FALSE;
  }
  QWidget* target = MouseTarget(widget);
  QPointF local(x, y);
  QPointF global = target->mapToGlobal(local);
  Qt::MouseButton button = right ? Qt::RightButton : Qt::LeftButton;
  QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(target, &release);
  if (twice) {
    QMouseEvent again(QEvent::MouseButtonDblClick, local, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &again);
    QApplication::sendEvent(target, &release);
  }
  if (right && target->contextMenuPolicy() == Qt::DefaultContextMenu) {
    QContextMenuEvent menu(QContextMenuEvent::Mouse, local.toPoint(), global.toPoint());
    QApplication::sendEvent(target, &menu);
  }
  return TRUE;
}
