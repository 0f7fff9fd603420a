// The table that maps handheld program names to Linux commands. Internal to platform/.
#pragma once

#include <string>

// The command stored under HKEY_LOCAL_MACHINE\Software\orvik\Programs for `program` (value
// names compare without regard to case), or empty.
std::string RegistryProgramCommand(const std::string& program);
// The built-in command for `program`, or empty.
std::string DefaultProgramCommand(const std::string& program);
// The shipped help page (shipped_data.h: <prefix>/share/orvik/help.html for an installed
// program, the source tree's copy from a build folder).
std::string HelpPagePath();
