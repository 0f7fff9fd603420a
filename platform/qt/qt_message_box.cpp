// Message boxes over QMessageBox. While one is open, Qt's own loop runs and the message queue
// is served by the display's pump, so other threads' messages are still handled.
#include <QMessageBox>
#include <QPointer>
#include <mutex>

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/qt/qt_window.h"

namespace {

struct Record {
  std::mutex lock;
  int autoAnswer = 0;
  int count = 0;
  QString text;
  QString caption;
  UINT type = 0;
};

Record& Boxes() {
  static auto* record = new Record;
  return *record;
}

QMessageBox::Icon IconFor(UINT type) {
  switch (type & 0xF0) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT type) {
  int answer;
  {
    Record& record = Boxes();
    std::lock_guard<std::mutex> guard(record.lock);
    ++record.count;
    record.text = ToQString(text);
    record.caption = ToQString(caption);
    record.type = type;
    answer = record.autoAnswer;
  }
  if (answer != 0) {
    return answer;
  }
  QWidget* parent = WidgetOf(owner);
  // On the heap: the owner may be destroyed while the box runs (its messages are handled
  // meanwhile), and then the box is deleted with it.
  QPointer<QMessageBox> box =
      new QMessageBox(IconFor(type), ToQString(caption), ToQString(text), QMessageBox::NoButton,
                      parent != nullptr ? parent->window() : nullptr);
  UINT buttons = type & 0xF;
  if (buttons == MB_YESNO) {
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  } else if (buttons == MB_OKCANCEL) {
    box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  } else {
    box->setStandardButtons(QMessageBox::Ok);
  }
  if ((type & MB_TOPMOST) != 0) {
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  int chosen = 0;
  {
    ModalScope modal;
    chosen = box->exec();
  }
  if (box.isNull()) {
    return IDCANCEL;  // gone with its owner: nobody answered
  }
  delete box.data();
  switch (chosen) {
    case QMessageBox::Yes:
      return IDYES;
    case QMessageBox::No:
      return IDNO;
    case QMessageBox::Cancel:
      return IDCANCEL;
    default:
      return IDOK;
  }
}

void SetMessageBoxAutoAnswer(int answer) {
  std::lock_guard<std::mutex> guard(Boxes().lock);
  Boxes().autoAnswer = answer;
}

int MessageBoxCount() {
  std::lock_guard<std::mutex> guard(Boxes().lock);
  return Boxes().count;
}

void LastMessageBox(WCHAR* text, int textSize, WCHAR* caption, int captionSize, UINT* type) {
  std::lock_guard<std::mutex> guard(Boxes().lock);
  CopyToBuffer(Boxes().text, text, textSize);
  CopyToBuffer(Boxes().caption, caption, captionSize);
  if (type != nullptr) {
    *type = Boxes().type;
  }
}
