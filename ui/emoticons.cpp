// The emoticon tables and the replacement of emoticons in chat text.
#include "ui/emoticons.h"

#include <cstring>
#include <vector>

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

bool IsSpaceAt(const wmstring& text, std::uint32_t pos) {
  return pos < text.length() && text.c_str()[pos] == u' ';
}

// The element that stands for an image, as the view reads it.
wmstring ImageElement(const WCHAR* image) {
  return wmstring(u"<IMG SRC = \"") + image + u"\"></IMG>";
}

}  // namespace

wmstring ReplaceEmoticons(const wmstring& text) {
  wmstring result = text;
  // Characters of inserted elements: an emoticon must not take part of one (">:)" right after
  // an element's closing ">" would otherwise break the markup).
  std::vector<bool> inserted(result.length(), false);
  for (const EmoticonEntry* entry = kEmoticons; entry->text != nullptr; ++entry) {
    std::uint32_t length = wide_length(entry->text);
    std::uint32_t p = result.find(entry->text, 0);
    while (p != wmstring::npos) {
      bool overlaps = false;
      for (std::uint32_t i = p; i < p + length; ++i) {
        overlaps = overlaps || inserted[i];
      }
      // At the start, at the end, or standing between two spaces.
      bool standsAlone = p == 0 || p + length >= result.length() ||
                         (IsSpaceAt(result, p - 1) && IsSpaceAt(result, p + length));
      if (overlaps || !standsAlone) {
        p = result.find(entry->text, overlaps ? p + 1 : p + length);
        continue;
      }
      wmstring element = ImageElement(entry->image);
      result.replace(p, length, element.c_str());
      inserted.erase(inserted.begin() + p, inserted.begin() + p + length);
      inserted.insert(inserted.begin() + p, element.length(), true);
      p = result.find(entry->text, p + element.length());
    }
  }
  return result;
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
