// What a notification's HTML body holds: its buttons ("<input type=button name='cmd:N'
// value='Label'>"), the rest as rich text for the bubble, and that rest as plain text for the
// desktop's notification service.
#pragma once

#include <QString>
#include <vector>

struct NotificationButton {
  int command = 0;
  QString label;
};

struct NotificationBody {
  QString richText;   // the body without its form and input elements
  QString plainText;  // the same as plain text, blanks collapsed, trimmed
  std::vector<NotificationButton> buttons;
};

NotificationBody ParseNotificationBody(const QString& html);
// Escapes & < > for the desktop service's body markup.
QString EscapeForDesktopMarkup(const QString& text);
