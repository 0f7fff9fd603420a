// Reading a notification body. The program builds its bodies itself (received text in them is
// escaped), so the elements found here are the program's own.
#include "platform/qt/qt_notification_body.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace {

// An attribute's value in an element's text: name='v', name="v" or name=v.
QString Attribute(const QString& element, const QString& name) {
  QRegularExpression pattern("\\b" + name + "\\s*=\\s*(?:'([^']*)'|\"([^\"]*)\"|([^\\s>]+))",
                             QRegularExpression::CaseInsensitiveOption);
  QRegularExpressionMatch match = pattern.match(element);
  if (!match.hasMatch()) {
    return QString();
  }
  for (int group = 1; group <= 3; ++group) {
    if (match.capturedStart(group) >= 0) {
      return match.captured(group);
    }
  }
  return QString();
}

QString HtmlToPlain(const QString& html) {
  return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

// A button of an input element, when it is one with a "cmd:N" name.
bool ButtonOf(const QString& element, NotificationButton* button) {
  if (Attribute(element, "type").compare("button", Qt::CaseInsensitive) != 0) {
    return false;
  }
  QString name = Attribute(element, "name");
  if (!name.startsWith("cmd:", Qt::CaseInsensitive)) {
    return false;
  }
  bool ok = false;
  int command = name.mid(4).toInt(&ok);
  if (!ok || command <= 0 || command > 0xFFFF) {
    return false;
  }
  button->command = command;
  button->label = HtmlToPlain(Attribute(element, "value"));
  return true;
}

}  // namespace

NotificationBody ParseNotificationBody(const QString& html) {
  NotificationBody body;
  static const QRegularExpression input("<input\\b[^>]*>",
                                        QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression form("</?form\\b[^>]*>",
                                       QRegularExpression::CaseInsensitiveOption);
  QRegularExpressionMatchIterator inputs = input.globalMatch(html);
  while (inputs.hasNext()) {
    NotificationButton button;
    if (ButtonOf(inputs.next().captured(0), &button)) {
      body.buttons.push_back(button);
    }
  }
  body.richText = html;
  static const QRegularExpression emptyParagraph("<p\\b[^>]*>\\s*</p>",
                                                 QRegularExpression::CaseInsensitiveOption);
  body.richText.remove(input).remove(form);
  body.richText.remove(emptyParagraph);  // the buttons' row, now empty
  body.plainText = HtmlToPlain(body.richText);
  return body;
}

QString EscapeForDesktopMarkup(const QString& text) {
  QString escaped;
  escaped.reserve(text.size());
  for (QChar c : text) {
    if (c == '&') {
      escaped += "&amp;";
    } else if (c == '<') {
      escaped += "&lt;";
    } else if (c == '>') {
      escaped += "&gt;";
    } else {
      escaped += c;
    }
  }
  return escaped;
}
