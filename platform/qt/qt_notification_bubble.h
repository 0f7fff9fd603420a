// The in-window bubble of a notification: a small framed panel in the bottom right corner of
// the sink's top-level window with the bold title, the body as rich text and the body's
// buttons. Bubbles of one window stack upwards, the newest three of them (an older one is
// deleted when a fourth comes); they follow the window's size.
#pragma once

#include <QFrame>
#include <QTimer>

#include "platform/qt/qt_notification_body.h"
#include "platform/window.h"

// Puts the shown bubbles of `top` back over its other children (after one of them was raised).
void RaiseNotificationBubbles(QWidget* top);

class QtNotificationBubble : public QFrame {
 public:
  // Shown at once on `top`; hides itself after `seconds` (never when 0 or less).
  QtNotificationBubble(QWidget* top, DWORD id, HWND sink, const QString& title,
                       const NotificationBody& body, int seconds);
  ~QtNotificationBubble() override;

  DWORD id() const { return id_; }
  // Bubbles shown earlier have lower numbers.
  unsigned order() const { return order_; }
  // Hides the bubble and closes the gap it leaves.
  void Dismiss();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddButtons(const NotificationBody& body);

  DWORD id_;
  unsigned order_ = 0;
  HWND sink_;
  QTimer expiry_;
};
