// The standard control classes: one window procedure for all of them, the text and font
// messages they share, and the key routing that lets a replaced procedure see typed keys
// before the widget does.
#include "platform/qt/qt_controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The modifiers of the key being delivered: a key made by a test (or another program) reaches
// the widget without passing through the desktop's own keyboard state.
Qt::KeyboardModifiers deliveringModifiers = Qt::NoModifier;

const char* const kControlClasses[] = {"STATIC",   "EDIT",    "BUTTON",
                                       "COMBOBOX", "LISTBOX", "SysTreeView32"};

// Typed keys go to the window's procedure first (which may be a replacement); the widget
// handles a key only when every message made from it reached the control's own procedure.
class KeyRouter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    HWND window = HwndOfWidget(widget);
    QtWindow* state = NativeOf(window);
    if (state == nullptr) {
      return false;
    }
    switch (event->type()) {
      case QEvent::KeyPress:
        return !Deliver(state, static_cast<QKeyEvent*>(event));
      case QEvent::FocusIn:
        CallProcedure(window, WM_SETFOCUS, 0, 0);
        if (state->className == "EDIT") {
          NotifyParentCommand(state, EN_SETFOCUS);
        }
        return false;
      case QEvent::FocusOut:
        CallProcedure(window, WM_KILLFOCUS, 0, 0);
        if (state->className == "EDIT") {
          NotifyParentCommand(state, EN_KILLFOCUS);
        }
        return false;
      default:
        return false;
    }
  }

 private:
  // True when the widget should handle the key itself.
  static bool Deliver(QtWindow* state, QKeyEvent* key) {
    HWND window = state->hwnd;
    bool passOn = true;
    Qt::KeyboardModifiers outer = deliveringModifiers;
    deliveringModifiers = key->modifiers();
    auto send = [&](UINT message, WPARAM value) {
      state->deliveringKey = true;
      state->keyPassedOn = false;
      CallProcedure(window, message, value, 0);
      if (NativeOf(window) == state) {
        passOn = passOn && state->keyPassedOn;
        state->deliveringKey = false;
      } else {
        passOn = false;  // the window went away while handling the key
      }
    };
    WPARAM virtualKey = VirtualKeyOf(key->key());
    if (virtualKey != 0) {
      send(WM_KEYDOWN, virtualKey);
    }
    for (QChar c : key->text()) {
      if (passOn && (c.isPrint() || virtualKey == VK_RETURN || virtualKey == VK_BACK)) {
        send(WM_CHAR, c.unicode());
      }
    }
    deliveringModifiers = outer;
    return passOn;
  }
};

KeyRouter* Router() {
  static auto* router = new KeyRouter;
  return router;
}

QWidget* MakeStaticWidget(QtWindow* state, QWidget* parent) {
  auto* label = new QLabel(state->text, parent);
  // A static control shows its text as it is: names and status texts from the network are
  // never taken as markup.
  label->setTextFormat(Qt::PlainText);
  DWORD align = state->style & 0x3;
  label->setAlignment((align == SS_CENTER  ? Qt::AlignHCenter
                       : align == SS_RIGHT ? Qt::AlignRight
                                           : Qt::AlignLeft) |
                      Qt::AlignVCenter);
  return label;
}

LRESULT CommonMessage(QtWindow* state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      SetControlText(state, ToQString(reinterpret_cast<const WCHAR*>(lParam)));
      return TRUE;
    case WM_GETTEXT:
      return CopyToBuffer(ControlText(state), reinterpret_cast<WCHAR*>(lParam),
                          static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return ControlText(state).size();
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (!state->widget.isNull()) {
        state->widget->setFont(FontOfHandle(state->font));
      }
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_KEYDOWN:
    case WM_CHAR:
      // A typed key that reached the control's own procedure is the widget's to handle.
      if (state->deliveringKey) {
        state->keyPassedOn = true;
      }
      return 0;
    default:
      return DefWindowProc(state->hwnd, message, wParam, lParam);
  }
}

LRESULT ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  QtWindow* state = NativeOf(window);
  if (state == nullptr) {
    return DefWindowProc(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  const QString& name = state->className;
  bool handled = (name == "EDIT" && EditMessage(state, message, wParam, lParam, &result)) ||
                 (name == "BUTTON" && ButtonMessage(state, message, wParam, lParam, &result)) ||
                 ((name == "COMBOBOX" || name == "LISTBOX") &&
                  ListMessage(state, message, wParam, lParam, &result)) ||
                 (name == "SysTreeView32" && TreeMessage(state, message, wParam, lParam, &result));
  return handled ? result : CommonMessage(state, message, wParam, lParam);
}

}  // namespace

// The modifiers of the key or mouse event being delivered to a control or a window, as the
// handheld reported the key state of the message being handled.
SHORT GetKeyState(int virtualKey) {
  Qt::KeyboardModifiers held =
      deliveringModifiers | HostDeliveredModifiers() | QGuiApplication::keyboardModifiers();
  Qt::KeyboardModifier wanted = virtualKey == static_cast<int>(VK_CONTROL) ? Qt::ControlModifier
                                : virtualKey == static_cast<int>(VK_SHIFT) ? Qt::ShiftModifier
                                                                           : Qt::NoModifier;
  return wanted != Qt::NoModifier && (held & wanted) != 0 ? static_cast<SHORT>(0x8000) : SHORT{0};
}

void RegisterControlClasses() {
  for (const char* name : kControlClasses) {
    RegisterClass(name, ControlProc);
  }
}

bool IsControlClass(const QString& className) {
  for (const char* name : kControlClasses) {
    if (className.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
      return true;
    }
  }
  return false;
}

QWidget* MakeControlWidget(QtWindow* state, QWidget* parent) {
  QString name = state->className.toUpper();
  for (const char* known : kControlClasses) {
    if (name == QString::fromLatin1(known).toUpper()) {
      state->className = QString::fromLatin1(known);
    }
  }
  QWidget* widget = nullptr;
  if (state->className == "EDIT") {
    widget = MakeEditWidget(state, parent);
  } else if (state->className == "BUTTON") {
    widget = MakeButtonWidget(state, parent);
  } else if (state->className == "COMBOBOX") {
    widget = MakeComboWidget(state, parent);
  } else if (state->className == "LISTBOX") {
    widget = MakeListWidget(state, parent);
  } else if (state->className == "SysTreeView32") {
    widget = MakeTreeWidget(state, parent);
  } else {
    widget = MakeStaticWidget(state, parent);
  }
  widget->installEventFilter(Router());
  if ((state->style & WS_DISABLED) != 0) {
    widget->setEnabled(false);
  }
  return widget;
}

QString ControlText(const QtWindow* state) {
  QWidget* widget = state->widget.data();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    return line->text();
  }
  if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    return plain->toPlainText();
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    return button->text();
  }
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    return label->text();
  }
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    return combo->currentText();
  }
  return QString();
}

void SetControlText(QtWindow* state, const QString& text) {
  QWidget* widget = state->widget.data();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->setText(text);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    plain->setPlainText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(text);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    int index = combo->findText(text);
    if (index >= 0) {
      combo->setCurrentIndex(index);
    } else if (combo->isEditable()) {
      combo->setEditText(text);  // a drop-down combo takes text that is not in its list
    }
  }
}

WPARAM VirtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Tab:
      return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Delete:
      return VK_DELETE;
    default:
      if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) ||
          (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return static_cast<WPARAM>(qtKey);  // the same codes as the handheld's
      }
      return 0;
  }
}
