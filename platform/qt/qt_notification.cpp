// SHNotificationAdd and SHNotificationRemove: the bubble in the sink's window and the desktop
// service's copy, kept by notification id (user-interface thread).
#include <QApplication>
#include <QPointer>
#include <map>

#include "platform/notification.h"
#include "platform/qt/qt_notification_bubble.h"
#include "platform/qt/qt_notification_desktop.h"
#include "platform/qt/qt_window.h"

namespace {

std::map<DWORD, QPointer<QtNotificationBubble>>& Bubbles() {
  static auto* bubbles = new std::map<DWORD, QPointer<QtNotificationBubble>>;
  return *bubbles;
}

bool Known(DWORD id) {
  return Bubbles().count(id) != 0;
}

void DeleteBubble(DWORD id) {
  auto found = Bubbles().find(id);
  if (found == Bubbles().end()) {
    return;
  }
  if (!found->second.isNull()) {
    found->second->Dismiss();
    found->second->deleteLater();
  }
  Bubbles().erase(found);
}

}  // namespace

LONG SHNotificationAdd(const SHNOTIFICATIONDATA* data) {
  if (data == nullptr || data->pszHTML == nullptr || data->hwndSink == nullptr ||
      !IsWindow(data->hwndSink)) {
    return ERROR_INVALID_PARAMETER;
  }
  if (QApplication::instance() == nullptr) {
    return ERROR_INVALID_HANDLE;  // no display started: nothing can be shown
  }
  DeleteBubble(data->dwID);
  QString title = data->pszTitle != nullptr ? ToQString(data->pszTitle) : QString();
  NotificationBody body = ParseNotificationBody(ToQString(data->pszHTML));
  QPointer<QtNotificationBubble> bubble;
  if (QWidget* widget = WidgetOf(data->hwndSink)) {
    bubble = new QtNotificationBubble(widget->window(), data->dwID, data->hwndSink, title, body,
                                      data->csDuration);
  }
  // Known even without a bubble (a sink with no display): the desktop copy still needs removing.
  Bubbles()[data->dwID] = bubble;
  if (QtDesktopNotifications* desktop = QtDesktopNotifications::Instance()) {
    desktop->Show(data->dwID, data->hwndSink, title, EscapeForDesktopMarkup(body.plainText),
                  data->csDuration);
  }
  return ERROR_SUCCESS;
}

LONG SHNotificationRemove(DWORD id) {
  if (!Known(id)) {
    return ERROR_INVALID_PARAMETER;
  }
  DeleteBubble(id);
  if (QtDesktopNotifications* desktop = QtDesktopNotifications::Instance()) {
    desktop->Close(id);
  }
  return ERROR_SUCCESS;
}

bool SHNotificationVisible(DWORD id) {
  auto found = Bubbles().find(id);
  return found != Bubbles().end() && !found->second.isNull() && found->second->isVisible();
}
