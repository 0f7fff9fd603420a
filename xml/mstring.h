// mstring: the program's owning narrow (byte) string. One heap buffer of exactly the needed
// size, rebuilt on every change; copies are deep. Positions and lengths are unsigned 32-bit
// characters; `npos` (all bits set) means "not found" and, as a length, "up to the end".
#pragma once

#include <cstdint>
#include <string>

class mstring {
 public:
  static constexpr std::uint32_t npos = 0xFFFFFFFF;

  mstring();
  mstring(const char* text);  // NOLINT: converts implicitly, as the string literals need
  mstring(const char* text, std::uint32_t count);
  mstring(const mstring& other);
  ~mstring();

  mstring& operator=(const char* text);
  mstring& operator=(const mstring& other);

  std::uint32_t length() const;
  const char* c_str() const { return buffer_; }
  bool empty() const { return length() == 0; }

  mstring& operator+=(const mstring& other);

  bool operator==(const mstring& other) const;
  bool operator==(const char* text) const;
  bool operator<(const mstring& other) const;

  // Positions past the end are clamped: a substring there is empty, a search finds nothing.
  mstring substr(std::uint32_t pos, std::uint32_t len = npos) const;
  std::uint32_t find(const char* text, std::uint32_t pos = 0) const;
  std::uint32_t find(const mstring& text, std::uint32_t pos = 0) const;
  std::uint32_t find(char c, std::uint32_t pos = 0) const;
  std::uint32_t find_first_of(const char* set, std::uint32_t pos = 0) const;
  // The text from `pos` up to (not including) the next character of `delimiters`, or to the end.
  mstring token(const char* delimiters, std::uint32_t pos = 0) const;
  // Replaces `count` characters at `pos` by `text`.
  void replace(std::uint32_t pos, std::uint32_t count, const char* text);
  // Ends the text at `pos`; the buffer keeps its size.
  void truncate(std::uint32_t pos);

 private:
  void adopt(char* buffer);
  char* buffer_;
};

mstring operator+(const mstring& left, const mstring& right);
mstring operator+(const mstring& left, const char* right);
mstring operator+(const char* left, const mstring& right);

// Compares folding only the ASCII capitals to lower case; the difference of the first differing
// folded bytes, 0 when equal. Bytes of 128 and above are compared as they are.
int mstricmp(const char* left, const char* right);
// `text` with the ASCII capitals folded to lower case: the key under which texts that mstricmp
// finds equal meet (an index of jids). Null reads as empty.
std::string mstrfold(const char* text);
// A copy of `text` from the general heap (release with free()); null when the heap is
// exhausted or `text` is null.
char* mstrdup(const char* text);
