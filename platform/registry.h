// The registry: keys of named values kept in a text file in the `.reg` export format under
// $ORVIK_HOME/registry.reg. Opening a key reads the file; changes made through the key are
// written back when the key is flushed or closed: the file is replaced atomically (temporary
// file, fsync, rename), created with mode 0600 because it holds passwords, and a lock on
// $ORVIK_HOME/registry.lock serialises processes. Each commit re-reads the file under that
// lock and applies only this key's changes, so two processes saving at once lose nothing.
#pragma once

#include "platform/win32_types.h"

struct RegistryKey;
using HKEY = RegistryKey*;

// The two roots the program uses.
extern const HKEY HKEY_LOCAL_MACHINE;
extern const HKEY HKEY_CURRENT_USER;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Key paths and value names are wide and compared without regard to ASCII case, as on the
// handheld. REG_SZ data is UTF-16 text with its terminator; REG_DWORD data is 4 bytes.
// A key handle sees the file as it was when the key was opened plus its own changes.
LONG RegCreateKeyEx(HKEY root, const WCHAR* subKey, const WCHAR* keyClass, HKEY* result,
                    DWORD* disposition);
// ERROR_FILE_NOT_FOUND when the key does not exist.
LONG RegOpenKeyEx(HKEY root, const WCHAR* subKey, HKEY* result);
// `data` may be null to ask for the size. ERROR_MORE_DATA when `*size` is too small (the
// needed size is stored in `*size`); ERROR_FILE_NOT_FOUND when the value is missing.
LONG RegQueryValueEx(HKEY key, const WCHAR* valueName, DWORD* type, BYTE* data, DWORD* size);
// REG_SZ data is kept up to its first terminator (a caller's buffer beyond the text never
// reaches the file). ERROR_INVALID_PARAMETER for a name the file cannot hold (control
// characters, lone surrogates); ERROR_ACCESS_DENIED on a root: values go through opened keys.
LONG RegSetValueEx(HKEY key, const WCHAR* valueName, DWORD type, const BYTE* data, DWORD size);
LONG RegDeleteValue(HKEY key, const WCHAR* valueName);
// Writes the key's pending changes to the file; an error when the file cannot be written
// (the changes stay pending for the next flush).
LONG RegFlushKey(HKEY key);
// Flushes and releases the key; the handle is released even when the flush fails (that
// error is returned and the changes are lost).
LONG RegCloseKey(HKEY key);
