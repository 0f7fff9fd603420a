// The desktop copy of notifications: org.freedesktop.Notifications on the session bus. Calls
// are asynchronous (a slow or missing service never stalls the window loop) and are not
// allowed to start a service: when none runs, the call fails and nothing else happens. The
// service's replies and signals are queued to this object's thread, the user-interface thread,
// whose message loop handles them.
#pragma once

#include <QDBusPendingCallWatcher>
#include <QObject>
#include <QString>
#include <map>

#include "platform/window.h"

class QtDesktopNotifications : public QObject {
  Q_OBJECT

 public:
  // The one instance of the user-interface thread; null when there is no session bus.
  static QtDesktopNotifications* Instance();

  void Show(DWORD id, HWND sink, const QString& title, const QString& plainText, int seconds);
  void Close(DWORD id);

 private slots:
  void OnActionInvoked(uint serverId, const QString& action);
  void OnNotificationClosed(uint serverId, uint reason);

 private:
  struct Entry {
    HWND sink = nullptr;
    uint serverId = 0;        // the service's id, 0 until its reply arrives
    unsigned generation = 0;  // which Show the reply answers
  };

  QtDesktopNotifications();
  void OnReply(DWORD id, unsigned generation, QDBusPendingCallWatcher* watcher);
  void CloseOnService(uint serverId);

  std::map<DWORD, Entry> entries_;
  unsigned generations_ = 0;
};
