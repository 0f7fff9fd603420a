// Menus: building, finding items by command or position, enabling, checking, and popup menus.
#include "platform/qt/qt_menu.h"

#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <set>

#include "platform/qt/qt_window.h"

namespace {

// Menus handed out and not destroyed (submenus belong to their parent's item).
std::set<MenuTag*>& TopMenus() {
  static auto* menus = new std::set<MenuTag*>;
  return *menus;
}

MenuTag::Item* FindByCommand(MenuTag* menu, UINT id) {
  for (MenuTag::Item& item : menu->items) {
    if ((item.flags & MF_POPUP) != 0 && item.submenu) {
      if (MenuTag::Item* found = FindByCommand(item.submenu.get(), id)) {
        return found;
      }
    } else if ((item.flags & MF_SEPARATOR) == 0 && item.id == id) {
      return &item;
    }
  }
  return nullptr;
}

MenuTag::Item* FindItem(HMENU menu, UINT item, UINT flags) {
  if (menu == nullptr) {
    return nullptr;
  }
  if ((flags & MF_BYPOSITION) != 0) {
    return item < menu->items.size() ? &menu->items[item] : nullptr;
  }
  return FindByCommand(menu, item);
}

// Replaces the state bits in `mask` by those of `flags`; returns the previous state.
DWORD ChangeState(HMENU menu, UINT item, UINT flags, UINT mask) {
  MenuTag::Item* found = FindItem(menu, item, flags);
  if (found == nullptr) {
    return static_cast<DWORD>(-1);
  }
  DWORD previous = found->flags & mask;
  found->flags = (found->flags & ~mask) | (flags & mask);
  return previous;
}

}  // namespace

void BuildQMenu(const MenuTag* menu, QMenu* target, UINT* chosen) {
  for (const MenuTag::Item& item : menu->items) {
    if ((item.flags & MF_SEPARATOR) != 0) {
      target->addSeparator();
    } else if ((item.flags & MF_POPUP) != 0 && item.submenu) {
      QMenu* sub = target->addMenu(item.text);
      sub->setEnabled((item.flags & MF_GRAYED) == 0);
      BuildQMenu(item.submenu.get(), sub, chosen);
    } else {
      QAction* action = target->addAction(item.text);
      action->setEnabled((item.flags & (MF_GRAYED | MF_DISABLED)) == 0);
      if ((item.flags & MF_CHECKED) != 0) {
        action->setCheckable(true);
        action->setChecked(true);
      }
      UINT id = item.id;
      QObject::connect(action, &QAction::triggered, [chosen, id] { *chosen = id; });
    }
  }
}

HMENU CreateMenu() {
  auto* menu = new MenuTag;
  TopMenus().insert(menu);
  return menu;
}

HMENU CreatePopupMenu() {
  return CreateMenu();
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, const WCHAR* text) {
  if (menu == nullptr) {
    return FALSE;
  }
  MenuTag::Item item;
  item.flags = flags;
  // The text as the handheld wrote it: '&' marks the mnemonic and a tab starts the shortcut,
  // which is also how Qt's menus read a text.
  item.text = ToQString(text);
  if ((flags & MF_POPUP) != 0) {
    auto* submenu = reinterpret_cast<MenuTag*>(id);
    if (TopMenus().erase(submenu) == 0) {
      return FALSE;  // not a menu of ours, or already someone's submenu
    }
    item.submenu.reset(submenu);
  } else {
    item.id = static_cast<UINT>(id);
  }
  menu->items.push_back(std::move(item));
  return TRUE;
}

BOOL DestroyMenu(HMENU menu) {
  if (TopMenus().erase(menu) == 0) {
    return FALSE;
  }
  delete menu;
  return TRUE;
}

HMENU GetSubMenu(HMENU menu, int position) {
  if (menu == nullptr || position < 0 || position >= static_cast<int>(menu->items.size())) {
    return nullptr;
  }
  return menu->items[static_cast<std::size_t>(position)].submenu.get();
}

int GetMenuItemCount(HMENU menu) {
  return menu != nullptr ? static_cast<int>(menu->items.size()) : -1;
}

bool FindMenuShortcut(const MenuTag* menu, const QKeySequence& pressed, UINT* id) {
  for (const MenuTag::Item& item : menu->items) {
    if ((item.flags & (MF_GRAYED | MF_DISABLED)) != 0 || (item.flags & MF_SEPARATOR) != 0) {
      continue;  // a greyed popup hides its items too
    }
    if ((item.flags & MF_POPUP) != 0) {
      if (item.submenu && FindMenuShortcut(item.submenu.get(), pressed, id)) {
        return true;
      }
      continue;
    }
    qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
      continue;
    }
    QKeySequence shortcut = QKeySequence::fromString(item.text.mid(tab + 1));
    if (!shortcut.isEmpty() && shortcut.matches(pressed) == QKeySequence::ExactMatch) {
      *id = item.id;
      return true;
    }
  }
  return false;
}

DWORD EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  return ChangeState(menu, item, flags, MF_GRAYED | MF_DISABLED);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  return ChangeState(menu, item, flags, MF_CHECKED);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  MenuTag::Item* found = FindItem(menu, item, flags);
  return found != nullptr ? found->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED)
                          : static_cast<UINT>(-1);
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, void*) {
  if (menu == nullptr) {
    return FALSE;
  }
  // On the heap: the owner may be destroyed while the menu is open (messages are handled
  // meanwhile), and then the menu is deleted with it.
  QPointer<QMenu> popup = new QMenu(WidgetOf(owner));
  UINT chosen = 0;
  BuildQMenu(menu, popup.data(), &chosen);
  {
    ModalScope modal;
    popup->exec(QPoint(x, y));
  }
  delete popup.data();
  if ((flags & TPM_RETURNCMD) != 0) {
    return static_cast<BOOL>(chosen);
  }
  if (chosen != 0 && owner != nullptr) {
    PostMessage(owner, WM_COMMAND, chosen, 0);
  }
  return TRUE;
}
