// A top-level window's smallest size and its placement kept in the registry: restored when the
// program asks for it, written a moment after the user stops moving or resizing the window
// (a drag reports dozens of changes a second; each write replaces the registry file) and
// when the window closes or goes away.
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <array>

#include "platform/qt/qt_window.h"
#include "platform/window_placement.h"

namespace {

constexpr int kSaveDelayMs = 400;
// How much of the window must be on a screen for a stored position to count: enough of its
// top to grab it and move it.
constexpr int kVisibleWidth = 64;
constexpr int kVisibleHeight = 32;
constexpr int kLargestSide = 32767;

const std::array<const WCHAR*, 4> kValueNames = {u"LEFT", u"TOP", u"WIDTH", u"HEIGHT"};

bool ReadPlacement(HKEY root, const std::u16string& subKey, std::array<int, 4>* values) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(root, subKey.c_str(), &key) != ERROR_SUCCESS) {
    return false;
  }
  bool complete = true;
  for (std::size_t i = 0; i < kValueNames.size(); ++i) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG result =
        RegQueryValueEx(key, kValueNames[i], &type, reinterpret_cast<BYTE*>(&value), &size);
    complete = complete && result == ERROR_SUCCESS && type == REG_DWORD;
    (*values)[i] = static_cast<int>(static_cast<std::int32_t>(value));  // left of the first screen
  }
  RegCloseKey(key);
  return complete;
}

void WritePlacement(HKEY root, const std::u16string& subKey, const std::array<int, 4>& values) {
  HKEY key = nullptr;
  if (RegCreateKeyEx(root, subKey.c_str(), nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  for (std::size_t i = 0; i < kValueNames.size(); ++i) {
    auto value = static_cast<DWORD>(static_cast<std::int32_t>(values[i]));
    RegSetValueEx(key, kValueNames[i], REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                  sizeof(value));
  }
  RegCloseKey(key);
}

// True when enough of the rectangle lies on one of the screens.
bool OnSomeScreen(const QRect& frame) {
  for (QScreen* screen : QGuiApplication::screens()) {
    QRect shared = frame.intersected(screen->availableGeometry());
    if (shared.width() >= kVisibleWidth && shared.height() >= kVisibleHeight) {
      return true;
    }
  }
  return false;
}

// Watches the window's widget: moves and resizes arm the save timer; closing and hiding save
// at once what is still pending.
class PlacementKeeper : public QObject {
 public:
  PlacementKeeper(QWidget* widget, HKEY root, std::u16string subKey)
      : QObject(widget), widget_(widget), root_(root), subKey_(std::move(subKey)) {
    timer_.setSingleShot(true);
    timer_.setInterval(kSaveDelayMs);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Save(); });
  }

  void Restore() {
    std::array<int, 4> values{};
    if (!ReadPlacement(root_, subKey_, &values)) {
      return;
    }
    auto [left, top, width, height] = values;
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
      return;
    }
    QRect placed(QPoint(left, top), QSize(width, height).expandedTo(widget_->minimumSize()));
    if (!OnSomeScreen(placed)) {
      // The screen it was on is gone: centred on the primary one, as a new window is.
      if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        placed.moveTo(area.x() + std::max(0, (area.width() - placed.width()) / 2),
                      area.y() + std::max(0, (area.height() - placed.height()) / 2));
      }
    }
    widget_->setGeometry(placed);
    timer_.stop();  // what was just read needs no writing
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != widget_) {
      return false;
    }
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
        if (IsNormal()) {
          // The window's own rectangle, without the desktop's frame, as MoveWindow places
          // it and GetWindowRect reports it.
          QRect geometry = widget_->geometry();
          last_ = {geometry.x(), geometry.y(), geometry.width(), geometry.height()};
          known_ = true;
          timer_.start();
        }
        break;
      case QEvent::Close:
      case QEvent::Hide:
        if (timer_.isActive()) {
          Save();
        }
        break;
      default:
        break;
    }
    return false;
  }

 private:
  bool IsNormal() const {
    return widget_->isVisible() &&
           (widget_->windowState() &
            (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) == 0;
  }

  void Save() {
    timer_.stop();
    if (known_) {
      WritePlacement(root_, subKey_, last_);
    }
  }

  QWidget* widget_;
  HKEY root_;
  std::u16string subKey_;
  QTimer timer_;
  std::array<int, 4> last_{};
  bool known_ = false;
};

QWidget* TopLevelWidgetOf(HWND window) {
  QtWindow* state = NativeOf(window);
  if (state == nullptr || state->widget.isNull() || !state->topLevel) {
    return nullptr;
  }
  return state->widget.data();
}

}  // namespace

BOOL SetWindowMinimumSize(HWND window, int width, int height) {
  QWidget* widget = TopLevelWidgetOf(window);
  if (widget == nullptr) {
    return FALSE;
  }
  widget->setMinimumSize(std::max(width, 0), std::max(height, 0));
  return TRUE;
}

BOOL RememberWindowPlacement(HWND window, HKEY root, const WCHAR* subKey) {
  QWidget* widget = TopLevelWidgetOf(window);
  if (widget == nullptr || subKey == nullptr) {
    return FALSE;
  }
  auto* keeper = new PlacementKeeper(widget, root, std::u16string(subKey));
  keeper->Restore();
  widget->installEventFilter(keeper);
  return TRUE;
}
