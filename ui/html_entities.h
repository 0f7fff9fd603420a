// The view decodes the five predefined entities once more after Expat has decoded them, so a
// producer that escaped text twice shows it as meant.
#pragma once

#include <string>

#include "xml/wmstring.h"

// Replaces "&amp;", "&quot;", "&apos;", "&lt;" and "&gt;" by their characters in one left to
// right pass (a replaced character is never part of a later match).
std::u16string DecodeEntitiesOnce(const wmstring& text);
