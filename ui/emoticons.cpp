// The emoticon tables and the replacement of emoticons in chat text.
#include "ui/emoticons.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ui/html_entities.h"

// Longer forms come before their shorter ones, so "O:-)" is a halo and not "O" and a smile.
const EmoticonEntry kEmoticons[] = {
    {u"O:-)", u"IDB_EMOTICON_GOOD"},
    {u"O:)", u"IDB_EMOTICON_GOOD"},
    {u"(A)", u"IDB_EMOTICON_GOOD"},
    {u">:)", u"IDB_EMOTICON_ANGRY"},
    {u":-)", u"IDB_EMOTICON_HAPPY"},
    {u":))", u"IDB_EMOTICON_HAPPY"},
    {u":)", u"IDB_EMOTICON_HAPPY"},
    {u":>", u"IDB_EMOTICON_HAPPY"},
    {u":\\>", u"IDB_EMOTICON_HAPPY"},
    {u":-C", u"IDB_EMOTICON_ANGRY"},
    {u":C", u"IDB_EMOTICON_ANGRY"},
    {u"X-(", u"IDB_EMOTICON_ANGRY"},
    {u":@", u"IDB_EMOTICON_ANGRY"},
    {u":-D", u"IDB_EMOTICON_SHOUT"},
    {u":D", u"IDB_EMOTICON_SHOUT"},
    {u":-B", u"IDB_EMOTICON_TONGUE"},
    {u":B", u"IDB_EMOTICON_TONGUE"},
    {u":((", u"IDB_EMOTICON_CRY"},
    {u":'(", u"IDB_EMOTICON_CRY"},
    {u":-(", u"IDB_EMOTICON_SAD"},
    {u":(", u"IDB_EMOTICON_SAD"},
    {u":-[", u"IDB_EMOTICON_SAD"},
    {u":-|", u"IDB_EMOTICON_MAD"},
    {u":|", u"IDB_EMOTICON_MAD"},
    {u":-/", u"IDB_EMOTICON_CONFUSED"},
    {u":-S", u"IDB_EMOTICON_SERIOUS"},
    {u":S", u"IDB_EMOTICON_SERIOUS"},
    {u":-$", u"IDB_EMOTICON_CONFUSED"},
    {u":$", u"IDB_EMOTICON_CONFUSED"},
    {u"<3", u"IDB_EMOTICON_LOVE"},
    {u"{>", u"IDB_EMOTICON_LOVE"},
    {u"(L)", u"IDB_EMOTICON_LOVE"},
    {u"(l)", u"IDB_EMOTICON_LOVE"},
    {u":-*", u"IDB_EMOTICON_LIPS"},
    {u":-X", u"IDB_EMOTICON_LIPS"},
    {u":-x", u"IDB_EMOTICON_LIPS"},
    {u":X", u"IDB_EMOTICON_LIPS"},
    {u":x", u"IDB_EMOTICON_LIPS"},
    {u"O-O", u"IDB_EMOTICON_EYES"},
    {u"@-}--", u"IDB_EMOTICON_FLOWER"},
    {u"(*)", u"IDB_EMOTICON_STAR"},
    {u":P", u"IDB_EMOTICON_TONGUE"},
    {u":p", u"IDB_EMOTICON_TONGUE"},
    {u":-p", u"IDB_EMOTICON_TONGUE"},
    {u"B-)", u"IDB_EMOTICON_COOL"},
    {u"8-)", u"IDB_EMOTICON_COOL"},
    {u"(H)", u"IDB_EMOTICON_COOL"},
    {u":O", u"IDB_EMOTICON_SHOCKED"},
    {u":o", u"IDB_EMOTICON_SHOCKED"},
    {u":-o", u"IDB_EMOTICON_SHOCKED"},
    {u":-O", u"IDB_EMOTICON_SHOCKED"},
    {u":-0", u"IDB_EMOTICON_SHOCKED"},
    {u";-)", u"IDB_EMOTICON_WINK"},
    {u";)", u"IDB_EMOTICON_WINK"},
    {u"=-O", u"IDB_EMOTICON_SHOCKED"},
    {u":-!", u"IDB_EMOTICON_SHOCKED"},
    {u"I-)", u"IDB_EMOTICON_MOON"},
    {u"(S)", u"IDB_EMOTICON_MOON"},
    {u"=;", u"IDB_EMOTICON_ALIEN"},
    {u"(U)", u"IDB_EMOTICON_BROKENHEART"},
    {u"(T)", u"IDB_EMOTICON_PHONE"},
    {u"(C)", u"IDB_EMOTICON_COFFEE"},
    {u"(I)", u"IDB_EMOTICON_IDEA"},
    {u"(K)", u"IDB_EMOTICON_LIPS"},
    {u"(F)", u"IDB_EMOTICON_ROSE"},
    {u"(P)", u"IDB_EMOTICON_CAMERA"},
    {u"(E)", u"IDB_EMOTICON_EMAIL"},
    {u"(8)", u"IDB_EMOTICON_NOTE"},
    {u"(@)", u"IDB_EMOTICON_CAT"},
    {u"(&)", u"IDB_EMOTICON_DOG"},
    {u"(~)", u"IDB_EMOTICON_FILM"},
    {u"(^)", u"IDB_EMOTICON_CAKE"},
    {u"(G)", u"IDB_EMOTICON_GIFT"},
    {u"(O)", u"IDB_EMOTICON_CLOCK"},
    {u"(|)", u"IDB_EMOTICON_MAD"},
    {u"({)", u"IDB_EMOTICON_LEFTHUG"},
    {u"(M)", u"IDB_EMOTICON_MSN"},
    {u"(W)", u"IDB_EMOTICON_WILTED"},
    {nullptr, nullptr},
};

const EmoticonImage kEmoticonImages[] = {
    {"IDB_EMOTICON_GOOD", 137},        {"IDB_EMOTICON_HAPPY", 139},
    {"IDB_EMOTICON_TONGUE", 144},      {"IDB_EMOTICON_CRY", 146},
    {"IDB_EMOTICON_ANGRY", 142},       {"IDB_EMOTICON_SAD", 153},
    {"IDB_EMOTICON_MAD", 152},         {"IDB_EMOTICON_CONFUSED", 150},
    {"IDB_EMOTICON_SERIOUS", 154},     {"IDB_EMOTICON_LOVE", 148},
    {"IDB_EMOTICON_BAD", 155},         {"IDB_EMOTICON_BIRTHDAYCAKE", 156},
    {"IDB_EMOTICON_BROKENHEART", 157}, {"IDB_EMOTICON_CAKE", 159},
    {"IDB_EMOTICON_CAMERA", 161},      {"IDB_EMOTICON_CAT", 163},
    {"IDB_EMOTICON_CATFACE", 165},     {"IDB_EMOTICON_CLOCK", 167},
    {"IDB_EMOTICON_COFFEE", 169},      {"IDB_EMOTICON_COFFEECUP", 171},
    {"IDB_EMOTICON_COOL", 173},        {"IDB_EMOTICON_DEAD", 174},
    {"IDB_EMOTICON_DOG", 175},         {"IDB_EMOTICON_DOGFACE", 176},
    {"IDB_EMOTICON_EMAIL", 177},       {"IDB_EMOTICON_EMBARRASSED", 178},
    {"IDB_EMOTICON_YEL", 179},         {"IDB_EMOTICON_FILM", 180},
    {"IDB_EMOTICON_FILMS", 181},       {"IDB_EMOTICON_FIRE", 182},
    {"IDB_EMOTICON_FLOWER", 183},      {"IDB_EMOTICON_GIFT", 184},
    {"IDB_EMOTICON_GIFTWITHBOW", 185}, {"IDB_EMOTICON_ICE", 186},
    {"IDB_EMOTICON_IDEA", 187},        {"IDB_EMOTICON_INLOVE", 188},
    {"IDB_EMOTICON_KISSY", 189},       {"IDB_EMOTICON_LEFTHUG", 190},
    {"IDB_EMOTICON_LIGHTBULB", 191},   {"IDB_EMOTICON_MOON", 8182},
    {"IDB_EMOTICON_LIPS", 192},        {"IDB_EMOTICON_MESSENGERICON", 193},
    {"IDB_EMOTICON_MONEY", 194},       {"IDB_EMOTICON_NOTE", 195},
    {"IDB_EMOTICON_PEACE", 196},       {"IDB_EMOTICON_PHONE", 197},
    {"IDB_EMOTICON_REDHEART", 198},    {"IDB_EMOTICON_REDROSE", 199},
    {"IDB_EMOTICON_ROBO", 200},        {"IDB_EMOTICON_ROSE", 201},
    {"IDB_EMOTICON_SHOCKED", 202},     {"IDB_EMOTICON_SHOUT", 203},
    {"IDB_EMOTICON_SLEEP", 204},       {"IDB_EMOTICON_STAR", 205},
    {"IDB_EMOTICON_TELEPHONE", 206},   {"IDB_EMOTICON_THUNDER", 207},
    {"IDB_EMOTICON_TOOTH", 8179},      {"IDB_EMOTICON_WARNING", 8180},
    {"IDB_EMOTICON_MSN", 8181},        {"IDB_EMOTICON_EYES", 8185},
    {"IDB_EMOTICON_WINK", 8183},       {"IDB_EMOTICON_ALIEN", 8186},
    {"IDB_EMOTICON_WILTED", 8184},     {nullptr, 0},
};
namespace {

bool IsSpaceAt(const std::u16string& text, std::size_t pos) {
  return pos < text.size() && text[pos] == u' ';
}

// The element that stands for an image, as the view reads it; the emoticon's own text goes
// along so that copying the picture gives the text back.
std::u16string ImageElement(const EmoticonEntry& entry) {
  return std::u16string(u"<IMG SRC = \"") + entry.image + u"\" ALT = \"" +
         EncodeEntities(entry.text) + u"\"></IMG>";
}

// One entry of the table over the whole text. The result is built in one pass (no length is
// measured again and nothing is moved per occurrence), so a long message full of emoticons
// costs a pass per entry, not a pass per occurrence.
bool ReplaceEntry(const EmoticonEntry& entry, const MarkedText& from, MarkedText* to) {
  std::u16string_view needle(entry.text);
  const std::u16string& text = from.text;
  std::u16string element;
  std::size_t copied = 0;
  std::size_t p = text.find(needle);
  while (p != std::u16string::npos) {
    std::size_t end = p + needle.size();
    bool overlaps = false;
    for (std::size_t i = p; i < end; ++i) {
      overlaps = overlaps || from.inserted[i];
    }
    // At the start, at the end, or standing between two spaces.
    bool standsAlone =
        p == 0 || end >= text.size() || (IsSpaceAt(text, p - 1) && IsSpaceAt(text, end));
    if (overlaps || !standsAlone) {
      p = text.find(needle, overlaps ? p + 1 : end);
      continue;
    }
    if (element.empty()) {
      element = ImageElement(entry);
      to->text.reserve(text.size() + element.size());
    }
    to->AppendFrom(from, copied, p);
    to->text += element;
    to->inserted.insert(to->inserted.end(), element.size(), true);
    copied = end;
    p = text.find(needle, end);
  }
  if (element.empty()) {
    return false;  // nothing replaced: the text stays as it was
  }
  to->AppendFrom(from, copied, text.size());
  return true;
}

}  // namespace

MarkedText ReplaceEmoticonsMarked(const wmstring& text) {
  MarkedText current{std::u16string(text.c_str(), text.length()), {}};
  current.inserted.assign(current.text.size(), false);
  for (const EmoticonEntry* entry = kEmoticons; entry->text != nullptr; ++entry) {
    MarkedText next;
    if (ReplaceEntry(*entry, current, &next)) {
      current = std::move(next);
    }
  }
  return current;
}

wmstring ReplaceEmoticons(const wmstring& text) {
  MarkedText result = ReplaceEmoticonsMarked(text);
  return wmstring(result.text.c_str(), static_cast<std::uint32_t>(result.text.size()));
}

int LookupEmoticonImage(const char* name) {
  if (name == nullptr) {
    return -1;
  }
  for (const EmoticonImage* image = kEmoticonImages; image->name != nullptr; ++image) {
    if (std::strcmp(image->name, name) == 0) {
      return image->resource;
    }
  }
  return -1;
}
