// wmstring: the wide twin of mstring, holding UTF-16 code units; used for everything the user
// sees (names, group names, window text).
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

class wmstring {
 public:
  static constexpr std::uint32_t npos = 0xFFFFFFFF;

  wmstring();
  wmstring(const WCHAR* text);  // NOLINT: converts implicitly, as u"" literals need
  wmstring(const WCHAR* text, std::uint32_t count);
  // Narrow text through the process locale's multibyte conversion (not UTF-8 unless the locale
  // is UTF-8); see mb_to_wide.
  explicit wmstring(const char* narrow);
  wmstring(const wmstring& other);
  ~wmstring();

  wmstring& operator=(const WCHAR* text);
  wmstring& operator=(const wmstring& other);

  std::uint32_t length() const;
  const WCHAR* c_str() const { return buffer_; }
  bool empty() const { return length() == 0; }

  wmstring& operator+=(const wmstring& other);

  bool operator==(const wmstring& other) const;
  bool operator==(const WCHAR* text) const;
  bool operator<(const wmstring& other) const;

  // Positions past the end are clamped: a substring there is empty, a search finds nothing.
  wmstring substr(std::uint32_t pos, std::uint32_t len = npos) const;
  std::uint32_t find(const WCHAR* text, std::uint32_t pos = 0) const;
  std::uint32_t find(const wmstring& text, std::uint32_t pos = 0) const;
  std::uint32_t find(WCHAR c, std::uint32_t pos = 0) const;
  void replace(std::uint32_t pos, std::uint32_t count, const WCHAR* text);
  void truncate(std::uint32_t pos);

 private:
  void adopt(WCHAR* buffer);
  WCHAR* buffer_;
};

wmstring operator+(const wmstring& left, const wmstring& right);
wmstring operator+(const wmstring& left, const WCHAR* right);
wmstring operator+(const WCHAR* left, const wmstring& right);

// Length of a NUL-terminated UTF-16 text (0 for null).
std::uint32_t wide_length(const WCHAR* text);
// Exact comparison of two NUL-terminated UTF-16 texts by code unit (null reads as empty).
int wide_compare(const WCHAR* left, const WCHAR* right);
// As wide_compare, folding only ASCII capitals.
int wide_compare_nocase(const WCHAR* left, const WCHAR* right);
