#include "xml/wmstring.h"

#include <cstring>
#include <new>

#include "xml/text_convert.h"

namespace {

WCHAR* new_buffer(std::uint32_t characters) {
  // Sizes are counted in characters and then bytes; a count beyond what fits in the byte size
  // asks for an impossible size, which fails with the allocator's exception.
  if (characters > 0x7FFFFFFF) {
    throw std::bad_alloc();
  }
  return new WCHAR[characters];
}

WCHAR* new_copy(const WCHAR* text, std::uint32_t count) {
  WCHAR* buffer = new_buffer(count + 1);
  if (count) {
    std::memcpy(buffer, text, count * sizeof(WCHAR));
  }
  buffer[count] = 0;
  return buffer;
}

}  // namespace

std::uint32_t wide_length(const WCHAR* text) {
  std::uint32_t length = 0;
  if (text) {
    while (text[length]) {
      ++length;
    }
  }
  return length;
}

int wide_compare(const WCHAR* left, const WCHAR* right) {
  const WCHAR* a = left ? left : u"";
  const WCHAR* b = right ? right : u"";
  while (*a && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

int wide_compare_nocase(const WCHAR* left, const WCHAR* right) {
  auto fold = [](WCHAR c) { return (c >= u'A' && c <= u'Z') ? static_cast<WCHAR>(c + 32) : c; };
  const WCHAR* a = left ? left : u"";
  const WCHAR* b = right ? right : u"";
  while (*a && fold(*a) == fold(*b)) {
    ++a;
    ++b;
  }
  return static_cast<int>(fold(*a)) - static_cast<int>(fold(*b));
}

wmstring::wmstring() : buffer_(new_buffer(2)) { buffer_[0] = buffer_[1] = 0; }

wmstring::wmstring(const WCHAR* text) : buffer_(new_copy(text, wide_length(text))) {}

wmstring::wmstring(const WCHAR* text, std::uint32_t count) {
  // Stops at `count`: the source need not be terminated within it.
  std::uint32_t available = 0;
  while (text && available < count && text[available]) {
    ++available;
  }
  buffer_ = new_copy(text, available);
}

wmstring::wmstring(const char* narrow) : wmstring(mb_to_wide(narrow)) {}

wmstring::wmstring(const wmstring& other) : buffer_(new_copy(other.buffer_, other.length())) {}

wmstring::~wmstring() { delete[] buffer_; }

void wmstring::adopt(WCHAR* buffer) {
  delete[] buffer_;
  buffer_ = buffer;
}

wmstring& wmstring::operator=(const WCHAR* text) {
  if (text != buffer_) {
    adopt(new_copy(text, wide_length(text)));
  }
  return *this;
}

wmstring& wmstring::operator=(const wmstring& other) { return *this = other.buffer_; }

std::uint32_t wmstring::length() const { return wide_length(buffer_); }

wmstring& wmstring::operator+=(const wmstring& other) {
  std::uint32_t mine = length();
  std::uint32_t theirs = other.length();
  WCHAR* joined = new_buffer(mine + theirs + 1);
  std::memcpy(joined, buffer_, mine * sizeof(WCHAR));
  std::memcpy(joined + mine, other.buffer_, theirs * sizeof(WCHAR));
  joined[mine + theirs] = 0;
  adopt(joined);
  return *this;
}

bool wmstring::operator==(const wmstring& other) const { return *this == other.buffer_; }

bool wmstring::operator==(const WCHAR* text) const { return wide_compare(buffer_, text) == 0; }

bool wmstring::operator<(const wmstring& other) const {
  return wide_compare(buffer_, other.buffer_) < 0;
}

wmstring wmstring::substr(std::uint32_t pos, std::uint32_t len) const {
  std::uint32_t size = length();
  if (pos >= size) {
    return wmstring(u"");
  }
  std::uint32_t rest = size - pos;
  return wmstring(buffer_ + pos, len < rest ? len : rest);
}

std::uint32_t wmstring::find(const WCHAR* text, std::uint32_t pos) const {
  std::uint32_t size = length();
  std::uint32_t needle = wide_length(text);
  if (!text || pos > size || needle > size - pos) {
    return npos;
  }
  for (std::uint32_t i = pos; i + needle <= size; ++i) {
    if (std::memcmp(buffer_ + i, text, needle * sizeof(WCHAR)) == 0) {
      return i;
    }
  }
  return npos;
}

std::uint32_t wmstring::find(const wmstring& text, std::uint32_t pos) const {
  return find(text.buffer_, pos);
}

std::uint32_t wmstring::find(WCHAR c, std::uint32_t pos) const {
  std::uint32_t size = length();
  for (std::uint32_t i = pos; i < size; ++i) {
    if (buffer_[i] == c) {
      return i;
    }
  }
  return npos;
}

void wmstring::replace(std::uint32_t pos, std::uint32_t count, const WCHAR* text) {
  std::uint32_t size = length();
  if (pos > size) {
    pos = size;
  }
  if (count > size - pos) {
    count = size - pos;
  }
  std::uint32_t inserted = wide_length(text);
  std::uint32_t tail = size - pos - count;
  WCHAR* result = new_buffer(pos + inserted + tail + 1);
  std::memcpy(result, buffer_, pos * sizeof(WCHAR));
  if (inserted) {
    std::memcpy(result + pos, text, inserted * sizeof(WCHAR));
  }
  std::memcpy(result + pos + inserted, buffer_ + pos + count, (tail + 1) * sizeof(WCHAR));
  adopt(result);
}

void wmstring::truncate(std::uint32_t pos) {
  if (pos < length()) {
    buffer_[pos] = 0;
  }
}

wmstring operator+(const wmstring& left, const wmstring& right) {
  wmstring joined(left);
  joined += right;
  return joined;
}

wmstring operator+(const wmstring& left, const WCHAR* right) { return left + wmstring(right); }

wmstring operator+(const WCHAR* left, const wmstring& right) { return wmstring(left) + right; }
