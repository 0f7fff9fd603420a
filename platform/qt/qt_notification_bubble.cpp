#include "platform/qt/qt_notification_bubble.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

constexpr int kMargin = 8;
constexpr int kWidth = 300;
// A burst from many contacts shows the newest few, not a wall of bubbles over the window: each
// bubble is a few hundred kilobytes of widgets, and the desktop service keeps its own copies.
constexpr std::size_t kMostShown = 3;

// The shown bubbles of `top`, oldest first. Raising a bubble reorders the children: the order
// of showing is kept by each bubble.
std::vector<QtNotificationBubble*> ShownBubbles(QWidget* top) {
  std::vector<QtNotificationBubble*> bubbles;
  for (QObject* child : top->children()) {
    auto* bubble = dynamic_cast<QtNotificationBubble*>(child);
    if (bubble != nullptr && !bubble->isHidden()) {
      bubbles.push_back(bubble);
    }
  }
  std::sort(bubbles.begin(), bubbles.end(),
            [](auto* a, auto* b) { return a->order() < b->order(); });
  return bubbles;
}

// Places the shown bubbles of `top` from its bottom right corner upwards, oldest lowest.
void StackBubbles(QWidget* top) {
  std::vector<QtNotificationBubble*> bubbles = ShownBubbles(top);
  int width = std::max(120, std::min(kWidth, top->width() - 2 * kMargin));
  int bottom = top->height() - kMargin;
  for (QtNotificationBubble* bubble : bubbles) {
    bubble->setFixedWidth(width);
    QLayout* layout = bubble->layout();
    layout->activate();
    int height = layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                             : layout->totalSizeHint().height();
    bubble->setFixedHeight(height);
    bottom -= height;
    bubble->move(top->width() - kMargin - width, std::max(0, bottom));
    bubble->raise();
    bottom -= kMargin;
  }
}

// Retires the oldest shown bubbles of `top` beyond the newest kMostShown: hidden and deleted.
void RetireOldBubbles(QWidget* top) {
  std::vector<QtNotificationBubble*> bubbles = ShownBubbles(top);
  for (std::size_t i = 0; i + kMostShown < bubbles.size(); ++i) {
    bubbles[i]->hide();
    bubbles[i]->deleteLater();
  }
}

}  // namespace

void RaiseNotificationBubbles(QWidget* top) {
  for (QtNotificationBubble* bubble : ShownBubbles(top)) {
    bubble->raise();
  }
}

QtNotificationBubble::QtNotificationBubble(QWidget* top, DWORD id, HWND sink, const QString& title,
                                           const NotificationBody& body, int seconds)
    : QFrame(top), id_(id), sink_(sink) {
  static unsigned shown = 0;
  order_ = ++shown;
  setObjectName(QString("notification-%1").arg(id));
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(255, 255, 225));
  colours.setColor(QPalette::WindowText, Qt::black);
  setPalette(colours);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  auto* heading = new QLabel(title, this);
  heading->setObjectName("title");
  heading->setTextFormat(Qt::PlainText);  // the title is text, never markup
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  auto* text = new QLabel(this);
  text->setObjectName("body");
  text->setTextFormat(Qt::RichText);
  text->setWordWrap(true);
  text->setOpenExternalLinks(false);
  text->setText(body.richText);
  layout->addWidget(text);
  AddButtons(body);

  top->installEventFilter(this);
  show();
  RetireOldBubbles(top);
  StackBubbles(top);
  if (seconds > 0) {
    expiry_.setSingleShot(true);
    connect(&expiry_, &QTimer::timeout, this, &QtNotificationBubble::Dismiss);
    expiry_.start(seconds * 1000);
  }
}

QtNotificationBubble::~QtNotificationBubble() = default;

void QtNotificationBubble::AddButtons(const NotificationBody& body) {
  if (body.buttons.empty()) {
    return;
  }
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (const NotificationButton& button : body.buttons) {
    auto* push = new QPushButton(button.label, this);
    push->setObjectName(QString("cmd:%1").arg(button.command));
    int command = button.command;
    connect(push, &QPushButton::clicked, this, [this, command] {
      PostMessage(sink_, WM_COMMAND, MAKEWPARAM(command, 0), static_cast<LPARAM>(id_));
    });
    row->addWidget(push);
  }
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void QtNotificationBubble::Dismiss() {
  expiry_.stop();
  hide();
  if (parentWidget() != nullptr) {
    StackBubbles(parentWidget());
  }
}

bool QtNotificationBubble::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize && !isHidden()) {
    StackBubbles(parentWidget());
  }
  return QFrame::eventFilter(watched, event);
}
