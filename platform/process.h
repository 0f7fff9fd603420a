// Starting other programs. A handheld program name ("iexplore.exe") maps to a Linux command
// through the registry key "Software\orvik\Programs" (value name = handheld program,
// REG_SZ = Linux command), with built-in defaults: "iexplore.exe" -> "xdg-open",
// "peghelp.exe" -> "xdg-open" on the shipped help page. Names without an entry are looked up
// as they are on PATH.
#pragma once

#include <string>

#include "platform/win32_types.h"

// Starts `program` with `arguments` (one argument, passed as it is) without a shell and
// without waiting. FALSE with GetLastError() == ERROR_FILE_NOT_FOUND when the program is not
// there.
BOOL CreateProcess(const std::string& program, const std::string& arguments);
// The Linux command that a handheld program name maps to (empty when none).
std::string MapProgramName(const std::string& program);
