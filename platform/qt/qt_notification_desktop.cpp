#include "platform/qt/qt_notification_desktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>
#include <cstdlib>

#include "platform/message_queue.h"

namespace {

const char kService[] = "org.freedesktop.Notifications";
const char kPath[] = "/org/freedesktop/Notifications";
const char kInterface[] = "org.freedesktop.Notifications";
const char kApplication[] = "orvik Messenger";
constexpr WORD kChatCommand = 114;
constexpr WORD kCloseCommand = 113;

// Only a bus the session already has: without one the bus library would try to start a bus
// daemon of its own.
bool SessionBusConfigured() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address != nullptr && *address != '\0') {
    return true;
  }
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime != nullptr && QFileInfo::exists(QString::fromLocal8Bit(runtime) + "/bus");
}

QDBusMessage ServiceCall(const char* method) {
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
  call.setAutoStartService(false);
  return call;
}

}  // namespace

QtDesktopNotifications* QtDesktopNotifications::Instance() {
  static QtDesktopNotifications* instance = nullptr;
  static bool tried = false;
  if (!tried && QCoreApplication::instance() != nullptr) {
    tried = true;
    if (SessionBusConfigured() && QDBusConnection::sessionBus().isConnected()) {
      instance = new QtDesktopNotifications;
    }
  }
  return instance;
}

QtDesktopNotifications::QtDesktopNotifications() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  // Only the service may act: its signals are matched against the owner of its name.
  bus.connect(kService, kPath, kInterface, "ActionInvoked", this,
              SLOT(OnActionInvoked(uint, QString)));
  bus.connect(kService, kPath, kInterface, "NotificationClosed", this,
              SLOT(OnNotificationClosed(uint, uint)));
}

void QtDesktopNotifications::Show(DWORD id, HWND sink, const QString& title,
                                  const QString& plainText, int seconds) {
  Entry& entry = entries_[id];
  entry.sink = sink;
  entry.generation = ++generations_;
  QDBusMessage call = ServiceCall("Notify");
  QStringList actions{"default", "Chat", "close", "Close"};
  call << QString(kApplication) << entry.serverId << QString() << title << plainText << actions
       << QVariantMap() << (seconds > 0 ? seconds * 1000 : 0);
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
  unsigned generation = entry.generation;
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, id, generation](QDBusPendingCallWatcher* done) { OnReply(id, generation, done); });
}

void QtDesktopNotifications::OnReply(DWORD id, unsigned generation,
                                     QDBusPendingCallWatcher* watcher) {
  watcher->deleteLater();
  QDBusPendingReply<uint> reply = *watcher;
  if (reply.isError()) {
    return;  // no service runs: the bubble is all there is
  }
  uint serverId = reply.value();
  auto found = entries_.find(id);
  if (found == entries_.end() || found->second.generation != generation) {
    // Removed (or shown anew) while the service answered: its copy must not linger.
    if (found == entries_.end() || found->second.serverId != serverId) {
      CloseOnService(serverId);
    }
    return;
  }
  found->second.serverId = serverId;
}

void QtDesktopNotifications::Close(DWORD id) {
  auto found = entries_.find(id);
  if (found == entries_.end()) {
    return;
  }
  if (found->second.serverId != 0) {
    CloseOnService(found->second.serverId);
  }
  entries_.erase(found);
}

void QtDesktopNotifications::CloseOnService(uint serverId) {
  QDBusMessage call = ServiceCall("CloseNotification");
  call << serverId;
  QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
}

void QtDesktopNotifications::OnActionInvoked(uint serverId, const QString& action) {
  WORD command = action == "default" ? kChatCommand : action == "close" ? kCloseCommand : 0;
  if (command == 0) {
    return;
  }
  for (const auto& [id, entry] : entries_) {
    if (entry.serverId == serverId && serverId != 0) {
      PostMessage(entry.sink, WM_COMMAND, MAKEWPARAM(command, 0), static_cast<LPARAM>(id));
      return;
    }
  }
}

void QtDesktopNotifications::OnNotificationClosed(uint serverId, uint) {
  // Gone from the desktop (expired, dismissed, or after an action): nothing to close later.
  for (auto& [id, entry] : entries_) {
    if (entry.serverId == serverId) {
      entry.serverId = 0;
    }
  }
}
