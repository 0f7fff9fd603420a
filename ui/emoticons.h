// Emoticons: character sequences in chat text become IMG elements of the HTML view, which
// resolves the image name to a bitmap resource when it draws.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

// Text with a mark per character: true where it belongs to an inserted element, which an
// emoticon must not take part of (">:)" right after an element's closing ">" would otherwise
// break the markup), and which protection must leave as markup.
struct MarkedText {
  std::u16string text;
  std::vector<bool> inserted;

  void AppendFrom(const MarkedText& source, std::size_t from, std::size_t to) {
    text.append(source.text, from, to - from);
    inserted.insert(inserted.end(), source.inserted.begin() + static_cast<std::ptrdiff_t>(from),
                    source.inserted.begin() + static_cast<std::ptrdiff_t>(to));
  }
};

// Replaces every emoticon that starts the text, ends it, or stands between two spaces by
// "<IMG SRC = \"name\" ALT = \"text\"></IMG>" (the emoticon's text escaped for XML), entry by
// entry in table order.
wmstring ReplaceEmoticons(const wmstring& text);
// The same, with the inserted elements marked: plain text goes in, so that the rest can be
// protected afterwards without an emoticon ever taking part of the protection's own markup.
MarkedText ReplaceEmoticonsMarked(const wmstring& text);
// The bitmap resource id of an image name (exact comparison), -1 when unknown.
int LookupEmoticonImage(const char* name);
