// The clipboard over Qt's: plain text only.
#include <QClipboard>
#include <QGuiApplication>

#include "platform/clipboard.h"
#include "platform/qt/qt_window.h"

BOOL SetClipboardText(const WCHAR* text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (text == nullptr || clipboard == nullptr) {
    return FALSE;
  }
  clipboard->setText(ToQString(text), QClipboard::Clipboard);
  return TRUE;
}

std::u16string GetClipboardText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) {
    return std::u16string();
  }
  QString text = clipboard->text(QClipboard::Clipboard);
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}
