// The platform code kept in MApp: which handheld family the program runs on. On the desktop
// it is 0; the table is kept because other parts compare against it.
#pragma once

#include "platform/win32_types.h"

// From the operating system's major version and the platform type text; `accessDenied` when
// the type could not be read because access was denied.
DWORD PlatformCode(DWORD majorVersion, const WCHAR* platformType, bool accessDenied);
// The code of the running system.
DWORD DetectPlatform();
// The abbreviated country name of the user's locale (the territory of LC_ALL, LC_CTYPE or
// LANG, such as "DE" for de_DE.UTF-8), or "x" when there is none.
const char* UserCountry(char* buffer, int size);
