// The bottom menu bar: one button per top-level popup of its menu (the popup opens above it),
// then image buttons with tooltips. Choices reach the owner as posted WM_COMMAND messages.
// The bar also serves the keyboard of its owner's window: Alt with a popup's mnemonic opens
// the popup, and the items' shortcuts choose them.
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

#include "platform/qt/qt_images.h"
#include "platform/qt/qt_menu.h"
#include "platform/qt/qt_window.h"

namespace {

constexpr int kBarHeight = 30;

class MenuBarWidget : public QWidget {
 public:
  MenuBarWidget(QtWindow* state, QWidget* parent) : QWidget(parent), owner_(state->parent) {
    setAutoFillBackground(true);
    layout_ = new QHBoxLayout(this);
    layout_->setContentsMargins(2, 2, 2, 2);
    layout_->setSpacing(2);
    layout_->addStretch(1);
    // Key presses in the owner's window are looked at before its widgets get them. The bar
    // matches them itself rather than through Qt's shortcut map, so that every key reaches it
    // the same way, whether the desktop or a test delivers it.
    qApp->installEventFilter(this);
  }
  ~MenuBarWidget() override { DestroyMenu(menu_); }

  void SetMenu(HMENU menu) {
    menu_ = menu;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      auto* button = new QToolButton(this);
      QString text = menu->items[static_cast<std::size_t>(i)].text;
      button->setText(text);
      button->setShortcut(QKeySequence());  // the mnemonic is served by KeyPressed below
      button->setToolButtonStyle(Qt::ToolButtonTextOnly);
      button->setAutoRaise(true);
      QObject::connect(button, &QToolButton::clicked, [this, i, button] { OpenPopup(i, button); });
      layout_->insertWidget(static_cast<int>(buttons_.size()), button);
      buttons_.push_back(Button{button, 0, QKeySequence::mnemonic(text)});
    }
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !isVisible()) {
      return false;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (target == nullptr || target->window() != window() ||
        QApplication::activePopupWidget() != nullptr) {
      return false;
    }
    return KeyPressed(static_cast<QKeyEvent*>(event));
  }

  void AddImageButton(const QPixmap& image, const MENUBARBUTTON& spec) {
    auto* button = new QToolButton(this);
    button->setIcon(QIcon(image));
    button->setIconSize(image.size());
    button->setAutoRaise(true);
    button->setEnabled(spec.enabled);
    UINT command = spec.command;
    HWND owner = owner_;
    QObject::connect(button, &QToolButton::clicked,
                     [owner, command] { PostMessage(owner, WM_COMMAND, command, 0); });
    layout_->addWidget(button);
    buttons_.push_back(Button{button, command, QKeySequence()});
  }

  bool SetTooltips(const WCHAR* const* texts, int count) {
    for (int i = 0; i < count && i < static_cast<int>(buttons_.size()); ++i) {
      buttons_[static_cast<std::size_t>(i)].widget->setToolTip(ToQString(texts[i]));
    }
    return true;
  }

  QToolButton* ButtonFor(UINT command) {
    for (const Button& button : buttons_) {
      if (button.command == command && command != 0) {
        return button.widget;
      }
    }
    return nullptr;
  }

  HMENU menu() const { return menu_; }

 private:
  struct Button {
    QToolButton* widget;
    UINT command;           // 0 for a menu button
    QKeySequence mnemonic;  // Alt and the marked letter of a menu button's text
  };

  // True when the key was the bar's: a popup's mnemonic or an enabled item's shortcut.
  bool KeyPressed(const QKeyEvent* key) {
    Qt::KeyboardModifiers modifiers = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                                          Qt::ShiftModifier | Qt::MetaModifier);
    bool functionKey = key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F35;
    if ((modifiers & ~Qt::ShiftModifier) == 0 && !functionKey) {
      return false;  // typing, not a command
    }
    QKeySequence pressed(QKeyCombination(modifiers, static_cast<Qt::Key>(key->key())));
    for (const Button& button : buttons_) {
      if (!button.mnemonic.isEmpty() &&
          button.mnemonic.matches(pressed) == QKeySequence::ExactMatch &&
          button.widget->isEnabled()) {
        // After this key is done: the popup runs a loop of its own.
        QMetaObject::invokeMethod(button.widget, &QToolButton::click, Qt::QueuedConnection);
        return true;
      }
    }
    UINT command = 0;
    if (menu_ != nullptr && FindMenuShortcut(menu_, pressed, &command)) {
      PostMessage(owner_, WM_COMMAND, command, 0);
      return true;
    }
    return false;
  }

  void OpenPopup(int index, QToolButton* button) {
    HMENU popup = GetSubMenu(menu_, index);
    if (popup == nullptr) {
      return;
    }
    // On the heap, and the bar watched: its window may be destroyed while the menu is open
    // (messages are handled meanwhile), and then the bar and the menu go with it.
    QPointer<MenuBarWidget> self = this;
    QPointer<QMenu> menu = new QMenu(this);
    UINT chosen = 0;
    BuildQMenu(popup, menu.data(), &chosen);
    QPoint corner = button->mapToGlobal(QPoint(0, 0));
    {
      ModalScope modal;
      menu->exec(QPoint(corner.x(), corner.y() - menu->sizeHint().height()));
    }
    if (self.isNull()) {
      return;
    }
    delete menu.data();
    if (chosen != 0) {
      PostMessage(owner_, WM_COMMAND, chosen, 0);
    }
  }

  HWND owner_;  // choices go there (a dead window simply receives nothing)
  QHBoxLayout* layout_;
  HMENU menu_ = nullptr;
  std::vector<Button> buttons_;
};

LRESULT MenuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(window, message, wParam, lParam);
}

QWidget* MakeMenuBar(QtWindow* state, QWidget*) {
  QtWindow* owner = NativeOf(state->parent);
  return new MenuBarWidget(state, owner != nullptr ? owner->widget.data() : nullptr);
}

MenuBarWidget* BarOf(HWND bar) {
  return dynamic_cast<MenuBarWidget*>(WidgetOf(bar));
}

}  // namespace

HWND CreateMenuBar(HWND owner, HMENU menu) {
  QtWindow* ownerState = NativeOf(owner);
  if (ownerState == nullptr || menu == nullptr) {
    return nullptr;
  }
  RegisterClass("JMENUBAR", MenuBarProc);
  // A child of the owner's widget, but not a client child: it sits below the client area.
  HWND bar = CreateNativeWindow("JMENUBAR", QString(), WS_CHILD | WS_VISIBLE, 0, 0, 0, kBarHeight,
                                owner, 0, nullptr, MakeMenuBar);
  MenuBarWidget* widget = BarOf(bar);
  if (widget == nullptr) {
    return nullptr;
  }
  widget->SetMenu(menu);
  ownerState->menuBar = bar;
  PlaceFrameParts(ownerState);
  widget->show();
  // The client area just shrank.
  QSize client = ClientSize(ownerState);
  CallProcedure(owner, WM_SIZE, 0, MAKELPARAM(client.width(), client.height()));
  return bar;
}

HMENU MenuBarMenu(HWND bar) {
  MenuBarWidget* widget = BarOf(bar);
  return widget != nullptr ? widget->menu() : nullptr;
}

BOOL MenuBarAddImageButtons(HWND bar, HINSTANCE, int bitmapId, int imageWidth,
                            const MENUBARBUTTON* buttons, int count) {
  MenuBarWidget* widget = BarOf(bar);
  QImage strip = ResourceImage(bitmapId);
  if (widget == nullptr || buttons == nullptr || imageWidth <= 0) {
    return FALSE;
  }
  for (int i = 0; i < count; ++i) {
    QPixmap image;
    int x = buttons[i].image * imageWidth;
    if (!strip.isNull() && x + imageWidth <= strip.width()) {
      image = QPixmap::fromImage(strip.copy(x, 0, imageWidth, strip.height()));
    } else {
      image = QPixmap(imageWidth, imageWidth);
      image.fill(Qt::lightGray);
    }
    widget->AddImageButton(image, buttons[i]);
  }
  return TRUE;
}

BOOL MenuBarSetTooltips(HWND bar, const WCHAR* const* texts, int count) {
  MenuBarWidget* widget = BarOf(bar);
  return widget != nullptr && texts != nullptr && widget->SetTooltips(texts, count) ? TRUE : FALSE;
}

BOOL MenuBarEnableButton(HWND bar, UINT command, BOOL enable) {
  MenuBarWidget* widget = BarOf(bar);
  QToolButton* button = widget != nullptr ? widget->ButtonFor(command) : nullptr;
  if (button == nullptr) {
    return FALSE;
  }
  button->setEnabled(enable != FALSE);
  return TRUE;
}

BOOL MenuBarIsButtonEnabled(HWND bar, UINT command) {
  MenuBarWidget* widget = BarOf(bar);
  QToolButton* button = widget != nullptr ? widget->ButtonFor(command) : nullptr;
  return button != nullptr && button->isEnabled() ? TRUE : FALSE;
}

int MenuBarHeight(HWND bar) {
  return bar != nullptr ? kBarHeight : 0;
}
