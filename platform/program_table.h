// The table that maps handheld program names to Linux commands. Internal to platform/.
#pragma once

#include <string>

// The command stored under HKEY_LOCAL_MACHINE\Software\orvik\Programs for `program` (value
// names compare without regard to case), or empty.
std::string RegistryProgramCommand(const std::string& program);
// The built-in command for `program`, or empty.
std::string DefaultProgramCommand(const std::string& program);
// The shipped help page: <program folder>/resources/help.html, or the source tree's copy when
// the program runs from a build folder that has none.
std::string HelpPagePath();
