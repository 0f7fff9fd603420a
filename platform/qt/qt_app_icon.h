// The program's icon for its windows (the task bar, the window switcher, title bars).
#pragma once

#include <QIcon>

// Every size of the program icon, from the executable's resources.
QIcon ProgramIcon();
// The desktop entry's id: desktops match the running program to its entry (and icon) by it.
constexpr const char* kDesktopEntryId = "org.orvik.Messenger";
