// The desktop's clipboard, for plain text: what the views copy and what tests read back.
#pragma once

#include <string>

#include "platform/win32_types.h"

// Puts `text` (up to its terminator) on the clipboard as plain text; FALSE for null text or
// when there is no display.
BOOL SetClipboardText(const WCHAR* text);
// The clipboard's plain text, empty when it holds none.
std::u16string GetClipboardText();
