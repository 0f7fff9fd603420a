// The display backend's start and its loop. Qt's event loop and the platform message queue are
// one loop on the user-interface thread:
// - GetMessage, when the queue is empty, lets Qt wait (the queue's wait handler) until the
//   queue is woken or its next timer is due, handling the display's events meanwhile;
// - while Qt runs a loop of its own (a message box, a popup menu), a wake posts a pump event
//   that serves the queue from inside that loop, and a single-shot timer does the same for the
//   queue's timers. The pump never takes WM_QUIT: that stays for the GetMessage loop.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QtGlobal>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/qt/qt_app_icon.h"
#include "platform/qt/qt_window.h"

namespace {

constexpr QEvent::Type kPumpEvent = static_cast<QEvent::Type>(QEvent::User + 401);

class QueuePump : public QObject {
 public:
  QueuePump() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Pump(); });
  }
  bool event(QEvent* event) override {
    if (event->type() != kPumpEvent) {
      return QObject::event(event);
    }
    posted.store(false);
    Pump();
    return true;
  }
  // Serves what is queued, leaving WM_QUIT in place, then arms the timer for the next due one.
  // GetMessage serves the queue itself while it lets Qt wait; the pump works only outside
  // that wait or inside a loop of Qt's own opened from it.
  void Pump() {
    if (inWait > 0 && modalDepth == 0) {
      return;
    }
    MSG message;
    for (int budget = 256; budget > 0; --budget) {
      if (!PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE) || message.message == WM_QUIT) {
        break;
      }
      if (!PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        break;
      }
      TranslateMessage(&message);
      DispatchMessage(&message);
    }
    DWORD due = NextTimerDueIn();
    if (due == INFINITE) {
      timer_.stop();
    } else {
      timer_.start(static_cast<int>(std::min<DWORD>(due, 0x7FFFFFFF)));
    }
  }
  std::atomic<bool> posted{false};
  int inWait = 0;
  int modalDepth = 0;

 private:
  QTimer timer_;
};

QApplication* application = nullptr;
QueuePump* pump = nullptr;
std::atomic<bool> woken{false};
int fakeArgc = 1;
char fakeName[] = "orvik";
char* fakeArgv[] = {fakeName, nullptr};

// Any thread: the queue has work. Sticky: a wake just before the wait begins ends it too.
void Wake(void*) {
  woken.store(true);
  QueuePump* target = pump;
  if (target != nullptr && !target->posted.exchange(true)) {
    QCoreApplication::postEvent(target, new QEvent(kPumpEvent));
  }
  if (QAbstractEventDispatcher* dispatcher =
          QAbstractEventDispatcher::instance(application ? application->thread() : nullptr)) {
    dispatcher->wakeUp();
  }
}

// UI thread, from GetMessage: handle the display's events until woken or `milliseconds` pass.
void Wait(void*, DWORD milliseconds) {
  QDeadlineTimer deadline(QDeadlineTimer::Forever);
  if (milliseconds != INFINITE) {
    deadline.setRemainingTime(static_cast<qint64>(milliseconds));
  }
  QTimer alarm;
  alarm.setSingleShot(true);
  ++pump->inWait;
  int modalDepth = pump->modalDepth;
  pump->modalDepth = 0;  // a loop of Qt's own inside this wait counts from here
  // Ends through the loop's condition only: the counts above are restored on every way out.
  while (!woken.exchange(false) && !deadline.hasExpired()) {
    if (milliseconds != INFINITE) {
      alarm.start(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  --pump->inWait;
  pump->modalDepth = modalDepth;
}

// Set by SetDisplayFailureExit: what a failed connection to the display ends the process with.
std::string failureMessage;
int failureCode = 1;
bool openingDisplay = false;
QtMessageHandler previousHandler = nullptr;

// Qt reports a display it cannot open as a fatal message and then aborts; while the
// application object is being made, that message becomes the program's own line and exit code.
// Everything else (the toolkit's warnings, which name the display) goes on as before.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg && openingDisplay && !failureMessage.empty()) {
    std::fprintf(stderr, "%s\n", failureMessage.c_str());
    std::fflush(stderr);
    std::_Exit(failureCode);
  }
  if (previousHandler != nullptr) {
    previousHandler(type, context, text);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
  }
}

QApplication* MakeApplication(int* argc, char** argv) {
  // QApplication keeps references to argc and argv for its whole life.
  static int* keptArgc = argc != nullptr ? argc : &fakeArgc;
  static char** keptArgv = argv != nullptr ? argv : fakeArgv;
  previousHandler = qInstallMessageHandler(OnQtMessage);
  openingDisplay = true;
  auto* made = new QApplication(*keptArgc, keptArgv);
  openingDisplay = false;
  qInstallMessageHandler(previousHandler);
  return made;
}

// The desktop's default text size, for the windows' default font.
void RecordDesktopFontSize() {
  QFont font = QApplication::font();
  double points = font.pointSizeF();
  if (points <= 0 && font.pixelSize() > 0) {
    QScreen* screen = QApplication::primaryScreen();
    double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    points = font.pixelSize() * 72.0 / (dpi > 0 ? dpi : 96.0);
  }
  g_desktopFontPoints.store(points > 0 ? static_cast<int>(points + 0.5) : 0);
}

}  // namespace

void SetDisplayFailureExit(const char* message, int exitCode) {
  failureMessage = message != nullptr ? message : "";
  failureCode = exitCode;
}

void AttachNativeWindow(HWND window, void* native);
void ReleaseNativeWindow(HWND window, void* native);

ModalScope::ModalScope() {
  if (pump != nullptr) {
    ++pump->modalDepth;
    Wake(nullptr);  // what is queued already is served inside the modal loop
  }
}

ModalScope::~ModalScope() {
  if (pump != nullptr) {
    --pump->modalDepth;
  }
}

BOOL InitDisplay(int* argc, char** argv) {
  if (application == nullptr) {
    if (QCoreApplication::instance() != nullptr) {
      application = qobject_cast<QApplication*>(QCoreApplication::instance());
    } else {
      application = MakeApplication(argc, argv);
    }
    if (application == nullptr) {
      return FALSE;
    }
    Q_INIT_RESOURCE(orvik);
    QApplication::setApplicationName("orvik");
    QApplication::setDesktopFileName(kDesktopEntryId);
    QApplication::setWindowIcon(ProgramIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    RecordDesktopFontSize();
    pump = new QueuePump;
    RegisterControlClasses();
    SetWindowNativeHooks(AttachNativeWindow, ReleaseNativeWindow);
  }
  SetQueueWakeHandler(Wake, nullptr);
  SetQueueWaitHandler(Wait, nullptr);
  pump->Pump();
  return TRUE;
}

void ShutdownDisplay() {
  SetQueueWakeHandler(nullptr, nullptr);
  SetQueueWaitHandler(nullptr, nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ProcessDisplayEvents() {
  if (application == nullptr) {
    return;
  }
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
