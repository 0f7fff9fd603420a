// Reads of the engine's own registry values (under "Software\orvik"), without the 127-character
// room of the settings store: a file path may be long.
#pragma once

#include <string>

#include "platform/win32_types.h"

// The REG_SZ value `name` of key `subkey` (HKEY_LOCAL_MACHINE) as UTF-8; false when absent.
bool registry_read_text(const char16_t* subkey, const char* name, std::string* value);
// The REG_DWORD value; false when absent or of another type.
bool registry_read_dword(const char16_t* subkey, const char* name, DWORD* value);
