#include "platform/reg_data.h"

#include <algorithm>
#include <utility>

#include "platform/reg_text.h"

namespace reg {

std::u16string JoinKeyPath(std::u16string_view base, std::u16string_view subKey) {
  std::u16string joined;
  for (std::u16string_view part : {base, subKey}) {
    size_t start = 0;
    while (start <= part.size()) {
      size_t end = std::min(part.find(u'\\', start), part.size());
      if (end > start) {
        if (!joined.empty()) {
          joined.push_back(u'\\');
        }
        joined.append(part.substr(start, end - start));
      }
      start = end + 1;
    }
  }
  return joined;
}

const Key* FindKey(const Tree& tree, std::u16string_view path) {
  for (const Key& key : tree.keys) {
    if (EqualsIgnoreAsciiCase(key.path, path)) {
      return &key;
    }
  }
  return nullptr;
}

Key* FindKey(Tree* tree, std::u16string_view path) {
  return const_cast<Key*>(FindKey(static_cast<const Tree&>(*tree), path));
}

bool KeyExists(const Tree& tree, std::u16string_view path) {
  std::u16string parent = std::u16string(path) + u'\\';
  for (const Key& key : tree.keys) {
    if (EqualsIgnoreAsciiCase(key.path, path) || StartsWithIgnoreAsciiCase(key.path, parent)) {
      return true;
    }
  }
  return false;
}

Key* AddKey(Tree* tree, std::u16string_view path) {
  if (Key* found = FindKey(tree, path)) {
    return found;
  }
  tree->keys.push_back(Key{std::u16string(path), {}});
  return &tree->keys.back();
}

const Value* FindValue(const Key& key, std::u16string_view name) {
  for (const Value& value : key.values) {
    if (EqualsIgnoreAsciiCase(value.name, name)) {
      return &value;
    }
  }
  return nullptr;
}

void SetValue(Key* key, Value value) {
  if (Value* found = const_cast<Value*>(FindValue(*key, value.name))) {
    found->type = value.type;
    found->data = std::move(value.data);
    return;
  }
  key->values.push_back(std::move(value));
}

bool DeleteValue(Key* key, std::u16string_view name) {
  auto found = std::find_if(key->values.begin(), key->values.end(),
                            [&](const Value& v) { return EqualsIgnoreAsciiCase(v.name, name); });
  if (found == key->values.end()) {
    return false;
  }
  key->values.erase(found);
  return true;
}

void ApplyChange(Tree* tree, std::u16string_view path, const Change& change) {
  switch (change.kind) {
    case Change::kCreateKey:
      AddKey(tree, path);
      break;
    case Change::kSetValue:
      // The key may have been removed from the file by hand since it was opened: setting a
      // value brings it back, as the handle's owner still expects it to exist.
      SetValue(AddKey(tree, path), change.value);
      break;
    case Change::kDeleteValue:
      if (Key* key = FindKey(tree, path)) {
        DeleteValue(key, change.value.name);
      }
      break;
  }
}

}  // namespace reg
