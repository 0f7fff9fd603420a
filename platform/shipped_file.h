// Data files the program ships. A fresh profile has none of its data files; the program carries
// a default copy of some (compiled into the executable) and writes one where the program looks
// for it the first time it is needed, as the default sounds are (sound.h).
#pragma once

#include <string>

// When the device path names no file and the program ships `shippedName` (a file name such as
// "RididEdazov.xml"), writes the shipped copy there. True when a file is there afterwards; a
// half-written copy is removed.
bool InstallShippedFile(const std::string& devicePath, const std::string& shippedName);
