// Typed reads and writes of one registry value, as the settings store and the service accounts
// keep them: DWORDs, and texts of at most 255 wide characters with their terminator.
#pragma once

#include "platform/registry.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

// Room for one text value: 255 wide characters and the terminator.
constexpr DWORD kTextValueChars = 256;

// A value name as the registry wants it (names are ASCII).
wmstring RegistryName(const char* name);

bool ReadDword(HKEY key, const char* name, DWORD& value);
// Fails when the value is missing or is not text; a longer text (edited by hand) is cut to
// 255 characters.
bool ReadWideText(HKEY key, const char* name, wmstring& value);
// Text through the process locale's conversion, at most 255 characters.
bool ReadNarrowText(HKEY key, const char* name, mstring& value);

// A write that fails deletes the value, so that the next load falls back to the default.
bool WriteDword(HKEY key, const char* name, DWORD value);
// Texts longer than 255 characters are cut to 255.
bool WriteWideText(HKEY key, const char* name, const wmstring& value);
bool WriteNarrowText(HKEY key, const char* name, const mstring& value);
