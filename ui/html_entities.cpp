#include "ui/html_entities.h"

namespace {

struct Entity {
  std::u16string_view name;
  char16_t character;
};

constexpr Entity kEntities[] = {
    {u"&amp;", u'&'}, {u"&quot;", u'"'}, {u"&apos;", u'\''}, {u"&lt;", u'<'}, {u"&gt;", u'>'}};

}  // namespace

std::u16string DecodeEntitiesOnce(const wmstring& text) {
  std::u16string_view input(text.c_str(), text.length());
  std::u16string output;
  output.reserve(input.size());
  std::size_t pos = 0;
  while (pos < input.size()) {
    bool replaced = false;
    if (input[pos] == u'&') {
      for (const Entity& entity : kEntities) {
        if (input.substr(pos, entity.name.size()) == entity.name) {
          output.push_back(entity.character);
          pos += entity.name.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) {
      output.push_back(input[pos]);
      ++pos;
    }
  }
  return output;
}

std::u16string EncodeEntities(const WCHAR* text) {
  std::u16string encoded;
  for (const WCHAR* c = text; c != nullptr && *c != 0; ++c) {
    switch (*c) {
      case u'&':
        encoded += u"&amp;";
        break;
      case u'<':
        encoded += u"&lt;";
        break;
      case u'>':
        encoded += u"&gt;";
        break;
      case u'"':
        encoded += u"&quot;";
        break;
      case u'\'':
        encoded += u"&#39;";
        break;
      default:
        encoded += *c;
    }
  }
  return encoded;
}
