// The backend's menus: a tree of items kept by the platform, turned into a QMenu each time one
// opens, so that enabled and checked states are always current.
#pragma once

#include <QKeySequence>
#include <QString>
#include <memory>
#include <vector>

#include "platform/menu.h"

class QMenu;
class QWidget;

struct MenuTag {
  struct Item {
    UINT flags = 0;  // MF_SEPARATOR, MF_POPUP, MF_GRAYED, MF_CHECKED
    UINT id = 0;
    QString text;
    std::unique_ptr<MenuTag> submenu;
  };
  std::vector<Item> items;
};

// Fills `target` with the items of `menu`; a chosen item sets *chosen to its command id.
void BuildQMenu(const MenuTag* menu, QMenu* target, UINT* chosen);
// The enabled item of `menu` (or of its enabled submenus) whose shortcut, the text after the
// tab in its text, is the key combination `pressed`; true with its command id in *id.
bool FindMenuShortcut(const MenuTag* menu, const QKeySequence& pressed, UINT* id);
