// The handheld's file system on Linux. A device path such as "\WINDOWS\debuglog.xml" lives
// under $ORVIK_HOME/device/ ("$ORVIK_HOME/device/WINDOWS/debuglog.xml"); a path inside the
// program folder maps to the executable's folder; a path that already is a Linux absolute
// path (starts with '/', no backslash) is used as it is.
//
// The program folder is the executable's folder in device form (GetModuleFileName up to its
// last backslash), so a path inside it already names a host file: its backslashes become
// slashes. In every other device path "." and ".." are resolved within the device folder
// ("\..\..\etc" stays under $ORVIK_HOME/device); names keep their case.
#pragma once

#include <cstdio>
#include <string>

// $ORVIK_HOME, or $XDG_CONFIG_HOME/orvik, or $HOME/.config/orvik; created on first use.
std::string OrvikHome();
// The executable's full path in device form, with backslashes ("\usr\bin\orvik").
std::string GetModuleFileName();
// The host path that a device path names.
std::string DevicePathToHost(const std::string& devicePath);
// fopen on a device path; modes that write create the missing parent folders first (mode
// 0700). The file is opened close-on-exec, so started programs do not inherit it.
std::FILE* DeviceFopen(const std::string& devicePath, const char* mode);
