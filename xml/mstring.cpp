#include "xml/mstring.h"

#include <cstdlib>
#include <cstring>

namespace {

std::uint32_t text_length(const char* text) {
  return text ? static_cast<std::uint32_t>(std::strlen(text)) : 0;
}

char* new_copy(const char* text, std::uint32_t count) {
  char* buffer = new char[static_cast<std::size_t>(count) + 1];
  if (count) {
    std::memcpy(buffer, text, count);
  }
  buffer[count] = '\0';
  return buffer;
}

char* new_empty() {
  char* buffer = new char[2];
  buffer[0] = buffer[1] = '\0';
  return buffer;
}

}  // namespace

mstring::mstring() : buffer_(new_empty()) {}

mstring::mstring(const char* text) : buffer_(new_copy(text, text_length(text))) {}

mstring::mstring(const char* text, std::uint32_t count) {
  // Stops at `count`: the source need not be terminated within it.
  std::uint32_t available = text ? static_cast<std::uint32_t>(strnlen(text, count)) : 0;
  buffer_ = new_copy(text, available);
}

mstring::mstring(const mstring& other) : buffer_(new_copy(other.buffer_, other.length())) {}

mstring::~mstring() { delete[] buffer_; }

void mstring::adopt(char* buffer) {
  delete[] buffer_;
  buffer_ = buffer;
}

mstring& mstring::operator=(const char* text) {
  if (text != buffer_) {
    adopt(new_copy(text, text_length(text)));
  }
  return *this;
}

mstring& mstring::operator=(const mstring& other) { return *this = other.buffer_; }

std::uint32_t mstring::length() const { return text_length(buffer_); }

mstring& mstring::operator+=(const mstring& other) {
  std::uint32_t mine = length();
  std::uint32_t theirs = other.length();
  char* joined = new char[static_cast<std::size_t>(mine) + theirs + 1];
  std::memcpy(joined, buffer_, mine);
  std::memcpy(joined + mine, other.buffer_, theirs);
  joined[mine + theirs] = '\0';
  adopt(joined);
  return *this;
}

bool mstring::operator==(const mstring& other) const { return *this == other.buffer_; }

bool mstring::operator==(const char* text) const {
  return std::strcmp(buffer_, text ? text : "") == 0;
}

bool mstring::operator<(const mstring& other) const {
  return std::strcmp(buffer_, other.buffer_) < 0;
}

mstring mstring::substr(std::uint32_t pos, std::uint32_t len) const {
  std::uint32_t size = length();
  if (pos >= size) {
    return mstring("");
  }
  std::uint32_t rest = size - pos;
  return mstring(buffer_ + pos, len < rest ? len : rest);
}

std::uint32_t mstring::find(const char* text, std::uint32_t pos) const {
  if (!text || pos > length()) {
    return npos;
  }
  const char* hit = std::strstr(buffer_ + pos, text);
  return hit ? static_cast<std::uint32_t>(hit - buffer_) : npos;
}

std::uint32_t mstring::find(const mstring& text, std::uint32_t pos) const {
  return find(text.buffer_, pos);
}

std::uint32_t mstring::find(char c, std::uint32_t pos) const {
  std::uint32_t size = length();
  for (std::uint32_t i = pos; i < size; ++i) {
    if (buffer_[i] == c) {
      return i;
    }
  }
  return npos;
}

std::uint32_t mstring::find_first_of(const char* set, std::uint32_t pos) const {
  if (!set || pos >= length()) {
    return npos;
  }
  std::size_t offset = std::strcspn(buffer_ + pos, set);
  return buffer_[pos + offset] ? static_cast<std::uint32_t>(pos + offset) : npos;
}

mstring mstring::token(const char* delimiters, std::uint32_t pos) const {
  std::uint32_t end = find_first_of(delimiters, pos);
  return substr(pos, end == npos ? npos : end - pos);
}

void mstring::replace(std::uint32_t pos, std::uint32_t count, const char* text) {
  std::uint32_t size = length();
  if (pos > size) {
    pos = size;
  }
  if (count > size - pos) {
    count = size - pos;
  }
  std::uint32_t inserted = text_length(text);
  std::uint32_t tail = size - pos - count;
  char* result = new char[static_cast<std::size_t>(pos) + inserted + tail + 1];
  std::memcpy(result, buffer_, pos);
  if (inserted) {
    std::memcpy(result + pos, text, inserted);
  }
  std::memcpy(result + pos + inserted, buffer_ + pos + count, tail + 1);
  adopt(result);
}

void mstring::truncate(std::uint32_t pos) {
  if (pos < length()) {
    buffer_[pos] = '\0';
  }
}

mstring operator+(const mstring& left, const mstring& right) {
  mstring joined(left);
  joined += right;
  return joined;
}

mstring operator+(const mstring& left, const char* right) { return left + mstring(right); }

mstring operator+(const char* left, const mstring& right) { return mstring(left) + right; }

namespace {
int FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
}  // namespace

int mstricmp(const char* left, const char* right) {
  auto fold = FoldAscii;
  const unsigned char* a = reinterpret_cast<const unsigned char*>(left ? left : "");
  const unsigned char* b = reinterpret_cast<const unsigned char*>(right ? right : "");
  while (*a && fold(*a) == fold(*b)) {
    ++a;
    ++b;
  }
  return fold(*a) - fold(*b);
}

std::string mstrfold(const char* text) {
  std::string folded(text ? text : "");
  for (char& c : folded) {
    c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
  }
  return folded;
}

char* mstrdup(const char* text) {
  if (!text) {
    return nullptr;
  }
  std::size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (copy) {
    std::memcpy(copy, text, size);
  }
  return copy;
}
