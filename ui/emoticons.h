// Emoticons: character sequences in chat text become IMG elements of the HTML view, which
// resolves the image name to a bitmap resource when it draws.
#pragma once

#include "xml/wmstring.h"

struct EmoticonEntry {
  const WCHAR* text;
  const WCHAR* image;
};
struct EmoticonImage {
  const char* name;
  int resource;
};

// The two tables, in order, each ended by an entry with a null text or name.
extern const EmoticonEntry kEmoticons[];
extern const EmoticonImage kEmoticonImages[];

// Replaces every emoticon that starts the text, ends it, or stands between two spaces by
// "<IMG SRC = \"name\" ALT = \"text\"></IMG>" (the emoticon's text escaped for XML), entry by
// entry in table order.
wmstring ReplaceEmoticons(const wmstring& text);
// The bitmap resource id of an image name (exact comparison), -1 when unknown.
int LookupEmoticonImage(const char* name);
