// The registry in memory: keys in the order they were first created, each with its values in
// the order they were first set, and the changes a key handle records until it is committed.
// Key paths are full ("HKEY_LOCAL_MACHINE\Software\...") and, like value names, compare
// without regard to ASCII case; the spelling first used is kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32_types.h"

namespace reg {

struct Value {
  std::u16string name;  // empty: the key's default value
  DWORD type = 0;
  std::vector<BYTE> data;
};

struct Key {
  std::u16string path;
  std::vector<Value> values;
};

struct Tree {
  std::vector<Key> keys;
};

// One change made through a key handle, replayed on the file's fresh content at commit.
struct Change {
  enum Kind { kCreateKey, kSetValue, kDeleteValue };
  Kind kind = kCreateKey;
  Value value;  // the name alone for kDeleteValue; unused for kCreateKey
};

// Joins `base` and `subKey` with backslashes, dropping empty components ("a\\b\" -> "a\b").
std::u16string JoinKeyPath(std::u16string_view base, std::u16string_view subKey);

const Key* FindKey(const Tree& tree, std::u16string_view path);
Key* FindKey(Tree* tree, std::u16string_view path);
// A key exists when it is listed or when a listed key lies below it (its parents need no
// line of their own in the file).
bool KeyExists(const Tree& tree, std::u16string_view path);
// The listed key `path`, appended when missing.
Key* AddKey(Tree* tree, std::u16string_view path);

const Value* FindValue(const Key& key, std::u16string_view name);
// Replaces the value in place (keeping its position and first spelling) or appends it.
void SetValue(Key* key, Value value);
bool DeleteValue(Key* key, std::u16string_view name);

// Replays `change`, made through the key `path`, on `tree`.
void ApplyChange(Tree* tree, std::u16string_view path, const Change& change);

}  // namespace reg
