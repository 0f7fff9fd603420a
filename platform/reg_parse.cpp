// Reading the registry file leniently: every line stands alone (apart from hex
// continuations), so one damaged line costs only itself.
#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/hex_digit.h"
#include "platform/reg_file.h"
#include "platform/reg_text.h"
#include "platform/registry.h"

namespace reg {
namespace {

constexpr std::string_view kWhitespace = " \t";

std::string_view TrimLeft(std::string_view s) {
  size_t start = s.find_first_not_of(kWhitespace);
  return start == std::string_view::npos ? std::string_view() : s.substr(start);
}

std::string_view TrimRight(std::string_view s) {
  size_t end = s.find_last_not_of(kWhitespace);
  return end == std::string_view::npos ? std::string_view() : s.substr(0, end + 1);
}

std::string_view Trim(std::string_view s) {
  return TrimRight(TrimLeft(s));
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) {
    return false;
  }
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (c != prefix[i]) {
      return false;
    }
  }
  return true;
}

// 1 to 8 hex digits, nothing else.
std::optional<DWORD> ParseHexNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) {
    return std::nullopt;
  }
  DWORD number = 0;
  for (char c : digits) {
    int digit = HexDigitValue(c);
    if (digit < 0) {
      return std::nullopt;
    }
    number = number << 4 | static_cast<DWORD>(digit);
  }
  return number;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// A "..." at `*pos` (which must hold the opening quote) decoded to UTF-16; `*pos` moves past
// the closing quote. A backslash before anything but \ or " stays as it is, as a hand editor
// writing "C:\dir" meant it.
std::optional<std::u16string> ParseQuoted(std::string_view line, size_t* pos) {
  if (*pos >= line.size() || line[*pos] != '"') {
    return std::nullopt;
  }
  std::string text;
  for (size_t i = *pos + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      std::u16string wide;
      if (!Utf8ToUtf16(text, &wide)) {
        return std::nullopt;
      }
      *pos = i + 1;
      return wide;
    }
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
      c = line[++i];
    }
    text.push_back(c);
  }
  return std::nullopt;  // unterminated
}

std::optional<std::vector<BYTE>> ParseHexBytes(std::string_view list) {
  std::vector<BYTE> bytes;
  list = Trim(list);  // a trailing comma ends the loop like the end of the list
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string_view::npos) {
      end = list.size();
    }
    std::string_view item = Trim(list.substr(start, end - start));
    std::optional<DWORD> byte = item.size() <= 2 ? ParseHexNumber(item) : std::nullopt;
    if (!byte) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<BYTE>(*byte));
    start = end + 1;
  }
  return bytes;
}

std::vector<BYTE> StringData(const std::u16string& text) {
  std::vector<BYTE> data;
  data.reserve(text.size() * 2 + 2);
  for (char16_t unit : text) {
    data.push_back(static_cast<BYTE>(unit & 0xFF));
    data.push_back(static_cast<BYTE>(unit >> 8));
  }
  data.push_back(0);
  data.push_back(0);
  return data;
}

// The part after '=': "text", dword:n, hex:bytes or hex(type):bytes.
bool ParseData(std::string_view data, Value* value) {
  data = Trim(data);
  if (!data.empty() && data[0] == '"') {
    size_t pos = 0;
    std::optional<std::u16string> text = ParseQuoted(data, &pos);
    if (!text || pos != data.size()) {
      return false;
    }
    value->type = REG_SZ;
    value->data = StringData(*text);
    return true;
  }
  if (StartsWithNoCase(data, "dword:")) {
    std::optional<DWORD> number = ParseHexNumber(data.substr(6));
    if (!number) {
      return false;
    }
    value->type = REG_DWORD;
    value->data = {static_cast<BYTE>(*number), static_cast<BYTE>(*number >> 8),
                   static_cast<BYTE>(*number >> 16), static_cast<BYTE>(*number >> 24)};
    return true;
  }
  std::optional<DWORD> type;
  if (StartsWithNoCase(data, "hex:")) {
    type = REG_BINARY;
    data.remove_prefix(4);
  } else if (StartsWithNoCase(data, "hex(")) {
    size_t close = data.find("):");
    type =
        close == std::string_view::npos ? std::nullopt : ParseHexNumber(data.substr(4, close - 4));
    data.remove_prefix(close == std::string_view::npos ? data.size() : close + 2);
  }
  if (!type) {
    return false;
  }
  std::optional<std::vector<BYTE>> bytes = ParseHexBytes(data);
  if (!bytes) {
    return false;
  }
  value->type = *type;
  value->data = std::move(*bytes);
  return true;
}

// The value name at the start of `line` ("name" or @ for the default value) and the offset
// just past the '='.
bool ParseValueName(std::string_view line, Value* value, size_t* dataStart) {
  size_t pos = 0;
  if (line[0] == '@') {
    value->name.clear();
    pos = 1;
  } else {
    std::optional<std::u16string> name = ParseQuoted(line, &pos);
    if (!name || !IsQuotable(*name)) {
      return false;
    }
    value->name = std::move(*name);
  }
  pos = line.find_first_not_of(kWhitespace, pos);
  if (pos == std::string_view::npos || line[pos] != '=') {
    return false;
  }
  *dataStart = pos + 1;
  return true;
}

bool IsHexContinuation(std::string_view line) {
  line = Trim(line);
  return !line.empty() && line.find_first_not_of("0123456789abcdefABCDEF, \t\\") == line.npos;
}

// "[path]"; a deletion line "[-path]" is not honoured (it would silently drop settings).
std::optional<std::u16string> ParseKeyLine(std::string_view line) {
  line = TrimRight(line);
  if (line.size() < 2 || line.back() != ']' || line[1] == '-') {
    return std::nullopt;
  }
  std::u16string raw;
  if (!Utf8ToUtf16(line.substr(1, line.size() - 2), &raw) || !IsQuotable(raw)) {
    return std::nullopt;
  }
  std::u16string path = JoinKeyPath(u"", raw);
  if (path.empty()) {
    return std::nullopt;
  }
  return path;
}

class Parser {
 public:
  Parser(std::string_view text, Tree* tree) : lines_(SplitLines(text)), tree_(tree) {}

  void Run() {
    for (next_ = 0; next_ < lines_.size();) {
      std::string_view line = TrimLeft(lines_[next_++]);
      if (line.empty() || line[0] == ';') {
        continue;
      }
      if (line[0] == '[') {
        std::optional<std::u16string> path = ParseKeyLine(line);
        // After a damaged key line its values belong to no key we know: drop them rather
        // than give them to the key before it.
        currentKey_ = path ? AddKey(*path) : kNoKey;
        continue;
      }
      if (line[0] == '"' || line[0] == '@') {
        ParseValueLine(line);
      }
      // Anything else (the header, REGEDIT4, garbage) is skipped.
    }
  }

 private:
  void ParseValueLine(std::string_view line) {
    Value value;
    size_t dataStart = 0;
    if (!ParseValueName(line, &value, &dataStart)) {
      return;
    }
    std::string data(line.substr(dataStart));
    AppendContinuations(&data);
    if (currentKey_ == kNoKey || !ParseData(data, &value)) {
      return;
    }
    // Found through an index: a large hand-made file must not take quadratic time.
    std::vector<Value>& values = tree_->keys[currentKey_].values;
    auto [slot, added] =
        valueIndex_[currentKey_].try_emplace(FoldAsciiCase(value.name), values.size());
    if (added) {
      values.push_back(std::move(value));
    } else {
      values[slot->second].type = value.type;
      values[slot->second].data = std::move(value.data);
    }
  }

  size_t AddKey(const std::u16string& path) {
    auto [slot, added] = keyIndex_.try_emplace(FoldAsciiCase(path), tree_->keys.size());
    if (added) {
      tree_->keys.push_back(Key{path, {}});
      valueIndex_.emplace_back();
    }
    return slot->second;
  }

  // regedit breaks long hex values into lines ending in '\'.
  void AppendContinuations(std::string* data) {
    if (!StartsWithNoCase(TrimLeft(*data), "hex")) {
      return;
    }
    while (!TrimRight(*data).empty() && TrimRight(*data).back() == '\\' && next_ < lines_.size() &&
           IsHexContinuation(lines_[next_])) {
      data->resize(TrimRight(*data).size() - 1);
      data->append(Trim(lines_[next_++]));
    }
  }

  std::vector<std::string_view> lines_;
  Tree* tree_;
  size_t next_ = 0;
  static constexpr size_t kNoKey = static_cast<size_t>(-1);
  size_t currentKey_ = kNoKey;  // index in tree_->keys; none yet, or its line was damaged
  // Folded key paths and value names -> their index in tree_.
  std::unordered_map<std::u16string, size_t> keyIndex_;
  std::vector<std::unordered_map<std::u16string, size_t>> valueIndex_;
};

}  // namespace

void ParseRegText(std::string_view text, Tree* tree) {
  tree->keys.clear();
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (text.substr(0, kBom.size()) == kBom) {
    text.remove_prefix(kBom.size());
  }
  Parser(text, tree).Run();
}

}  // namespace reg
