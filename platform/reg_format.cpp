// Writing the registry file: one canonical text for a tree, so a commit after a hand edit
// leaves a clean file.
#include <cstdio>

#include "platform/reg_file.h"
#include "platform/reg_text.h"
#include "platform/registry.h"

namespace reg {
namespace {

void AppendQuoted(std::u16string_view text, std::string* out) {
  out->push_back('"');
  for (char c : Utf16ToUtf8(text)) {
    if (c == '\\' || c == '"') {
      out->push_back('\\');
    }
    out->push_back(c);
  }
  out->push_back('"');
}

// REG_SZ data that a quoted line gives back unchanged on reading: UTF-16 text ending in one
// terminator, with nothing a line cannot carry.
bool QuotableString(const std::vector<BYTE>& data, std::u16string* text) {
  if (data.size() < 2 || data.size() % 2 != 0) {
    return false;
  }
  text->clear();
  for (size_t i = 0; i + 2 < data.size(); i += 2) {
    text->push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  bool terminated = data[data.size() - 2] == 0 && data[data.size() - 1] == 0;
  return terminated && IsQuotable(*text);
}

void AppendHex(DWORD type, const std::vector<BYTE>& data, std::string* out) {
  char buffer[16];
  if (type == REG_BINARY) {
    out->append("hex:");
  } else {
    std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(type));
    out->append(buffer);
  }
  for (size_t i = 0; i < data.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, i == 0 ? "%02x" : ",%02x", data[i]);
    out->append(buffer);
  }
}

void AppendValue(const Value& value, std::string* out) {
  if (value.name.empty()) {
    out->push_back('@');
  } else {
    AppendQuoted(value.name, out);
  }
  out->push_back('=');
  std::u16string text;
  if (value.type == REG_SZ && QuotableString(value.data, &text)) {
    AppendQuoted(text, out);
  } else if (value.type == REG_DWORD && value.data.size() == 4) {
    char buffer[16];
    unsigned number = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                      static_cast<unsigned>(value.data[3]) << 24;
    std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
    out->append(buffer);
  } else {
    AppendHex(value.type, value.data, out);
  }
  out->push_back('\n');
}

}  // namespace

std::string FormatRegText(const Tree& tree) {
  std::string out(kFileHeader);
  out.append("\n\n");
  for (const Key& key : tree.keys) {
    out.push_back('[');
    // "[-path]" reads as a deletion line. A path can only start with '-' after a hand edit
    // such as "[\-name]"; the leading backslash, dropped again on reading, keeps it a key.
    if (!key.path.empty() && key.path[0] == u'-') {
      out.push_back('\\');
    }
    out.append(Utf16ToUtf8(key.path));
    out.append("]\n");
    for (const Value& value : key.values) {
      AppendValue(value, &out);
    }
    out.push_back('\n');
  }
  return out;
}

}  // namespace reg
