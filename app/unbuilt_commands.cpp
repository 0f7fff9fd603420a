#include "app/unbuilt_commands.h"

#include <iterator>

namespace {

// One entry per command; remove an entry when its feature lands.
constexpr UINT kUnbuiltCommands[] = {
    40157,  // "RididEdazov": quick phrases
};

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
