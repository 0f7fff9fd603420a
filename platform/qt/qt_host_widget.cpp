// The widget of a window of a registered class. Its input, paint, resize, focus,
// activation and scroll events become WM_* messages to the window's procedure; its vertical
// bar (for WS_VSCROLL) reports the handheld's scroll requests and shows only when the range
// is larger than a page.
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/qt/qt_window.h"

namespace {

// The modifiers of the input event being delivered, which GetKeyState reports (the handheld's
// key state is that of the message being handled, not of the keyboard right now).
Qt::KeyboardModifiers deliveredModifiers;

// Sets the delivered modifiers for the delivery of one event, and back afterwards (so a held
// Ctrl is not reported for a later event that came without it).
class DeliveringModifiers {
 public:
  explicit DeliveringModifiers(Qt::KeyboardModifiers modifiers) : outer_(deliveredModifiers) {
    deliveredModifiers = modifiers;
  }
  ~DeliveringModifiers() { deliveredModifiers = outer_; }
  DeliveringModifiers(const DeliveringModifiers&) = delete;
  DeliveringModifiers& operator=(const DeliveringModifiers&) = delete;

 private:
  Qt::KeyboardModifiers outer_;
};

LPARAM PointParam(const QPointF& point) {
  return MAKELPARAM(static_cast<int>(point.x()), static_cast<int>(point.y()));
}

WORD ScrollCode(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
      return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
      return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
      return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
      return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
      return SB_BOTTOM;
    case QAbstractSlider::SliderMove:
      return SB_THUMBTRACK;
    default:
      return SB_ENDSCROLL;
  }
}

class HostWidget : public QWidget {
 public:
  HostWidget(QtWindow* state, QWidget* parent) : QWidget(parent), state_(state) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setFocusPolicy(state->topLevel ? Qt::NoFocus : Qt::StrongFocus);
    if ((state->style & WS_VSCROLL) != 0) {
      AddScrollBar();
    }
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!IsLiveState(state_)) {
      return;
    }
    state_->inPaint = true;
    Deliver(WM_PAINT, 0, 0);
    if (IsLiveState(state_)) {
      state_->inPaint = false;
    }
  }
  void resizeEvent(QResizeEvent*) override {
    if (!IsLiveState(state_)) {
      return;
    }
    PlaceFrameParts(state_);
    QSize client = ClientSize(state_);
    Deliver(WM_SIZE, 0, MAKELPARAM(client.width(), client.height()));
  }
  void keyPressEvent(QKeyEvent* event) override {
    DeliveringModifiers delivering(event->modifiers());
    WPARAM key = VirtualKeyOf(event->key());
    if (key != 0) {
      Deliver(WM_KEYDOWN, key, 0);
    }
    for (QChar c : event->text()) {
      if (c.isPrint()) {
        Deliver(WM_CHAR, c.unicode(), 0);
      }
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    DeliveringModifiers delivering(event->modifiers());
    if (event->button() == Qt::LeftButton) {
      Deliver(WM_LBUTTONDOWN, 1, PointParam(event->position()));
    } else if (event->button() == Qt::RightButton) {
      Deliver(WM_RBUTTONDOWN, 2, PointParam(event->position()));
      if (IsLiveState(state_)) {
        Deliver(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(state_->hwnd),
                PointParam(event->globalPosition()));
      }
    }
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      Deliver(WM_LBUTTONUP, 0, PointParam(event->position()));
    }
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      Deliver(WM_LBUTTONDBLCLK, 1, PointParam(event->position()));
    }
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    Deliver(WM_MOUSEMOVE, 0, PointParam(event->position()));
  }
  void wheelEvent(QWheelEvent* event) override {
    if (!IsLiveState(state_) || state_->scrollBar == nullptr) {
      event->ignore();
      return;
    }
    int steps = event->angleDelta().y() / 40;
    WORD code = steps > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < std::abs(steps); ++i) {
      Deliver(WM_VSCROLL, code, 0);
    }
  }
  void focusInEvent(QFocusEvent*) override { Deliver(WM_SETFOCUS, 0, 0); }
  void focusOutEvent(QFocusEvent*) override { Deliver(WM_KILLFOCUS, 0, 0); }
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::ActivationChange && IsLiveState(state_) && state_->topLevel) {
      Deliver(WM_ACTIVATE, isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, 0);
    }
    QWidget::changeEvent(event);
  }
  void closeEvent(QCloseEvent* event) override {
    // The window procedure decides; the default destroys the window.
    event->ignore();
    Deliver(WM_CLOSE, 0, 0);
  }

 private:
  // The widget outlives its window by a moment (it is deleted later): then nothing is sent.
  void Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsLiveState(state_)) {
      CallProcedure(state_->hwnd, message, wParam, lParam);
    }
  }

  void AddScrollBar() {
    auto* bar = new QScrollBar(Qt::Vertical, this);
    bar->setFocusPolicy(Qt::NoFocus);
    state_->scrollBar = bar;
    QtWindow* state = state_;
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [state, bar](int action) {
      WORD code = ScrollCode(action);
      if (code == SB_ENDSCROLL || !IsLiveState(state)) {
        return;
      }
      int position = bar->sliderPosition();
      if (code == SB_THUMBTRACK) {
        state->scroll.nTrackPos = position;
      }
      CallProcedure(state->hwnd, WM_VSCROLL, MAKEWPARAM(code, position), 0);
      if (IsLiveState(state)) {
        bar->setSliderPosition(state->scroll.nPos);
      }
    });
    SyncScrollBar(state_);
  }

  QtWindow* state_;
};

}  // namespace

Qt::KeyboardModifiers HostDeliveredModifiers() {
  return deliveredModifiers;
}

QWidget* MakeHostWidget(QtWindow* state, QWidget* parentWidget) {
  return new HostWidget(state, parentWidget);
}

void PlaceFrameParts(QtWindow* state) {
  QWidget* widget = state->widget.data();
  if (widget == nullptr) {
    return;
  }
  QSize client = ClientSize(state);
  if (state->scrollBar != nullptr) {
    int width = state->scrollBar->sizeHint().width();
    state->scrollBar->setGeometry(client.width(), 0, width, client.height());
  }
  if (state->menuBar != nullptr) {
    if (QWidget* bar = WidgetOf(state->menuBar)) {
      int height = MenuBarHeight(state->menuBar);
      bar->setGeometry(0, widget->height() - height, widget->width(), height);
      bar->raise();
    }
  }
}

void SyncScrollBar(QtWindow* state) {
  QScrollBar* bar = state->scrollBar;
  if (bar == nullptr) {
    return;
  }
  const SCROLLINFO& info = state->scroll;
  int page = std::max<int>(static_cast<int>(info.nPage), 1);
  QSignalBlocker quiet(bar);
  int highest = std::max(info.nMin, info.nMax - page + 1);
  bar->setRange(info.nMin, highest);
  bar->setPageStep(page);
  bar->setSingleStep(1);
  bar->setValue(info.nPos);
  // Shown only while there is something to scroll. Its strip stays out of the client area
  // either way, so the content never has to be laid out again when it comes or goes.
  bar->setVisible(highest > info.nMin);
}

int SetScrollInfo(HWND window, int, const SCROLLINFO* info, BOOL) {
  QtWindow* state = NativeOf(window);
  if (state == nullptr || info == nullptr) {
    return 0;
  }
  SCROLLINFO& own = state->scroll;
  if ((info->fMask & SIF_RANGE) != 0) {
    own.nMin = info->nMin;
    own.nMax = info->nMax;
  }
  if ((info->fMask & SIF_PAGE) != 0) {
    own.nPage = info->nPage;
  }
  if ((info->fMask & SIF_POS) != 0) {
    own.nPos = info->nPos;
  }
  if ((info->fMask & SIF_TRACKPOS) != 0) {
    own.nTrackPos = info->nTrackPos;
  }
  int highest = std::max(own.nMin, own.nMax - std::max(static_cast<int>(own.nPage) - 1, 0));
  own.nPos = std::clamp(own.nPos, own.nMin, highest);
  SyncScrollBar(state);
  return own.nPos;
}

BOOL GetScrollInfo(HWND window, int, SCROLLINFO* info) {
  QtWindow* state = NativeOf(window);
  if (state == nullptr || info == nullptr) {
    return FALSE;
  }
  UINT mask = info->fMask;
  const SCROLLINFO& own = state->scroll;
  if ((mask & SIF_RANGE) != 0) {
    info->nMin = own.nMin;
    info->nMax = own.nMax;
  }
  if ((mask & SIF_PAGE) != 0) {
    info->nPage = own.nPage;
  }
  if ((mask & SIF_POS) != 0) {
    info->nPos = own.nPos;
  }
  if ((mask & SIF_TRACKPOS) != 0) {
    info->nTrackPos = own.nTrackPos;
  }
  return TRUE;
}

BOOL IsScrollBarVisible(HWND window, int) {
  QtWindow* state = NativeOf(window);
  return state != nullptr && state->scrollBar != nullptr && !state->scrollBar->isHidden() ? TRUE
                                                                                          : FALSE;
}

int ScrollWindowEx(HWND window, int, int, const RECT*, const RECT*, void*, RECT*, UINT flags) {
  QWidget* widget = WidgetOf(window);
  if (widget == nullptr) {
    return 0;
  }
  // The views draw their whole client area from their content, so a full repaint is what a
  // scroll needs.
  if ((flags & SW_INVALIDATE) != 0) {
    widget->update();
  }
  return 1;
}
