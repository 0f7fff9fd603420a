// Reading and writing the values of one service account in the settings key. Each value is a
// text of at most 255 characters; both directions stop at the first value that fails.
#pragma once

#include <initializer_list>
#include <utility>

#include "xml/wmstring.h"

using AccountValue = std::pair<const char*, wmstring*>;

// True only when every value was read; a value that cannot be read stops the reading and it
// and the later fields keep what they held.
bool ReadAccountValues(std::initializer_list<AccountValue> values);
// True only when every value was written and the key was written back to the registry file.
bool WriteAccountValues(std::initializer_list<AccountValue> values);

// A text as an account field holds it: at most 255 characters.
wmstring AccountText(const wmstring& text);
