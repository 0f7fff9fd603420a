// Entities of markup text. The view decodes the five predefined entities once more after Expat
// has decoded them, so a producer that escaped text twice shows it as meant.
#pragma once

#include <string>

#include "xml/wmstring.h"

// Replaces "&amp;", "&quot;", "&apos;", "&lt;" and "&gt;" by their characters in one left to
// right pass (a replaced character is never part of a later match).
std::u16string DecodeEntitiesOnce(const wmstring& text);

// Text as markup text, also inside a quoted attribute: each of & < > " ' becomes its entity
// ("&#39;" for the quote, which HTML readers know as well as XML ones).
std::u16string EncodeEntities(const WCHAR* text);
