// Starting other programs. A handheld program name ("iexplore.exe") maps to a Linux command
// through the registry key "Software\orvik\Programs" under HKEY_LOCAL_MACHINE (value name =
// handheld program, compared without regard to case; REG_SZ = Linux command), with built-in
// defaults:
//   "iexplore.exe" -> "xdg-open %1"
//   "peghelp.exe"  -> "xdg-open <program folder>/resources/help.html" (the source tree's
//                     resources/help.html when the program runs from a build folder without
//                     one); the handheld's help topic is not passed on, every topic opens
//                     that page.
// A command is split into words at blanks (double quotes group a word) and run without a
// shell; "%1" stands for the argument, and a command without "%1" is run without it. A name
// with a path ("\Windows\iexplore.exe") is looked up whole, then by its last part. Names
// without an entry are started as they are: a handheld path ("\Program Files\x\x.exe") names
// the file under the device folder (see device_path.h), other names are searched on PATH.
#pragma once

#include <string>

#include "platform/win32_types.h"

// Starts `program` with `arguments` (one argument, passed as it is; none when empty) without a
// shell and without waiting; the child gets only stdin, stdout and stderr of this process and
// its own process group, and is reaped when it ends. FALSE with GetLastError() ==
// ERROR_FILE_NOT_FOUND when the program is not there (ERROR_ACCESS_DENIED when it may not be
// run).
BOOL CreateProcess(const std::string& program, const std::string& arguments);
// The Linux command that a handheld program name maps to, "%1" included (empty when none).
std::string MapProgramName(const std::string& program);
