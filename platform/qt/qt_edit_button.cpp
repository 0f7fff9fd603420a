// EDIT (single-line, password, multi-line) and BUTTON (push, default, check box, radio).
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

#include "platform/qt/qt_controls.h"

namespace {

void InsertText(QtWindow* state, const QString& text) {
  QWidget* widget = state->widget.data();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->insert(text);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    plain->insertPlainText(text);
  }
}

void Backspace(QtWindow* state) {
  QWidget* widget = state->widget.data();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->backspace();
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    plain->textCursor().deletePreviousChar();
  }
}

void Select(QtWindow* state, int start, int end) {
  QWidget* widget = state->widget.data();
  QString text = ControlText(state);
  int length = static_cast<int>(text.size());
  if (start < 0) {  // (-1, ...) removes the selection
    start = end = length;
  }
  if (end < 0 || end > length) {
    end = length;
  }
  start = std::min(start, length);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->setSelection(start, end - start);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    QTextCursor cursor = plain->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    plain->setTextCursor(cursor);
  }
}

LRESULT Selection(QtWindow* state) {
  QWidget* widget = state->widget.data();
  int start = 0;
  int end = 0;
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    end = line->hasSelectedText() ? line->selectionEnd() : start;
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    start = plain->textCursor().selectionStart();
    end = plain->textCursor().selectionEnd();
  }
  return MAKELPARAM(start, end);
}

}  // namespace

QWidget* MakeEditWidget(QtWindow* state, QWidget* parent) {
  if ((state->style & ES_MULTILINE) != 0) {
    auto* plain = new QPlainTextEdit(state->text, parent);
    plain->setReadOnly((state->style & ES_READONLY) != 0);
    QObject::connect(plain, &QPlainTextEdit::textChanged,
                     [state] { NotifyParentCommand(state, EN_CHANGE); });
    return plain;
  }
  auto* line = new QLineEdit(state->text, parent);
  if ((state->style & ES_PASSWORD) != 0) {
    line->setEchoMode(QLineEdit::Password);
  }
  line->setReadOnly((state->style & ES_READONLY) != 0);
  QObject::connect(line, &QLineEdit::textChanged,
                   [state] { NotifyParentCommand(state, EN_CHANGE); });
  return line;
}

bool EditMessage(QtWindow* state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  QWidget* widget = state->widget.data();
  switch (message) {
    case WM_CHAR:
      if (state->deliveringKey) {
        return false;  // typed: the widget handles it
      }
      if (wParam == VK_BACK) {
        Backspace(state);
      } else if (wParam == VK_RETURN) {
        if ((state->style & ES_MULTILINE) != 0) {
          InsertText(state, QStringLiteral("\n"));
        }
      } else {
        InsertText(state, QString(QChar(static_cast<char16_t>(wParam))));
      }
      *result = 0;
      return true;
    case EM_SETSEL:
      Select(state, static_cast<int>(static_cast<LONG>(wParam)), static_cast<int>(lParam));
      *result = 0;
      return true;
    case EM_GETSEL:
      *result = Selection(state);
      return true;
    case EM_REPLACESEL:
      InsertText(state, ToQString(reinterpret_cast<const WCHAR*>(lParam)));
      *result = 0;
      return true;
    case EM_LIMITTEXT:
      if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setMaxLength(wParam == 0 ? 32767 : static_cast<int>(wParam));
      }
      *result = 0;
      return true;
    case EM_SETREADONLY:
      if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setReadOnly(wParam != 0);
      } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        plain->setReadOnly(wParam != 0);
      }
      *result = TRUE;
      return true;
    default:
      return false;
  }
}

QWidget* MakeButtonWidget(QtWindow* state, QWidget* parent) {
  DWORD type = state->style & BS_TYPEMASK;
  QAbstractButton* button = nullptr;
  if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
    button = new QCheckBox(state->text, parent);
  } else if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
    button = new QRadioButton(state->text, parent);
  } else {
    auto* push = new QPushButton(state->text, parent);
    push->setDefault(type == BS_DEFPUSHBUTTON);
    push->setAutoDefault(false);
    button = push;
  }
  QObject::connect(button, &QAbstractButton::clicked,
                   [state] { NotifyParentCommand(state, BN_CLICKED); });
  return button;
}

bool ButtonMessage(QtWindow* state, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  auto* button = qobject_cast<QAbstractButton*>(state->widget.data());
  if (button == nullptr) {
    return false;
  }
  switch (message) {
    case BM_GETCHECK:
      *result = button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
      return true;
    case BM_SETCHECK:
      if (button->isCheckable()) {
        button->setChecked(wParam == BST_CHECKED);
      }
      *result = 0;
      return true;
    case BM_CLICK:
      button->click();
      *result = 0;
      return true;
    default:
      return false;
  }
}
