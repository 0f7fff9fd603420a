#include "app/unbuilt_commands.h"

#include <array>

namespace {

// One entry per command; remove an entry when its feature lands. Every command is built now.
constexpr std::array<UINT, 0> kUnbuiltCommands{};

}  // namespace

bool IsUnbuiltCommand(UINT command) {
  for (UINT unbuilt : kUnbuiltCommands) {
    if (unbuilt == command) {
      return true;
    }
  }
  return false;
}

void GreyUnbuiltCommands(HWND menuBar) {
  if (menuBar == nullptr) {
    return;
  }
  HMENU menu = MenuBarMenu(menuBar);
  for (UINT command : kUnbuiltCommands) {
    EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED);
    MenuBarEnableButton(menuBar, command, FALSE);
  }
}
