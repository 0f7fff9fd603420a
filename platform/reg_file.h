// The registry file's text: the `.reg` export format in UTF-8.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\Software\tessel Software\Chirrup]
//   "SOUND SUPPORT"=dword:00000001
//   "PROXY SERVER"="proxy.example.org"
//   "MULTILINE"=hex(1):41,00,0d,00,0a,00,42,00,00,00
//
// Inside "..." only \\ and \" are escapes. Text that a quoted line cannot carry (control
// characters, lone surrogates, no terminator) is written as hex(1): with its raw UTF-16LE
// bytes; binary as hex:, other types as hex(<type>):.
#pragma once

#include <string>
#include <string_view>

#include "platform/reg_data.h"

namespace reg {

// The header line that starts every file written.
inline constexpr std::string_view kFileHeader = "Windows Registry Editor Version 5.00";

// Loads what it can from a file that may have been edited by hand: a line that does not
// parse (garbage, bad digits, an unterminated string, a value before any key, invalid UTF-8)
// is skipped and the rest is kept. A UTF-8 byte order mark, CRLF line ends, a missing header,
// `;` comments and regedit's `\` continuation of long hex lines are accepted. A later line
// for the same key or value adds to or replaces the earlier one.
void ParseRegText(std::string_view text, Tree* tree);

// The canonical text of `tree`: the header, a blank line, then each key as its [path] line,
// its value lines and a blank line.
std::string FormatRegText(const Tree& tree);

}  // namespace reg
