// Typed reads and writes of one registry value, as the settings store keeps them: DWORDs,
// and texts of at most 127 wide characters with their terminator.
#pragma once

#include "platform/registry.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

// Room for one text value: 254 bytes, 127 wide characters with the terminator.
constexpr DWORD kTextValueChars = 127;

// A value name as the registry wants it (names are ASCII).
wmstring RegistryName(const char* name);

bool ReadDword(HKEY key, const char* name, DWORD& value);
// Fails when the value is missing, is not text or does not fit kTextValueChars.
bool ReadWideText(HKEY key, const char* name, wmstring& value);
// Text through the process locale's conversion, at most 255 characters.
bool ReadNarrowText(HKEY key, const char* name, mstring& value);

// A write that fails deletes the value, so that the next load falls back to the default.
bool WriteDword(HKEY key, const char* name, DWORD value);
// Texts longer than the value's room are cut to 126 characters.
bool WriteWideText(HKEY key, const char* name, const wmstring& value);
bool WriteNarrowText(HKEY key, const char* name, const mstring& value);
