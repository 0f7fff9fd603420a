// Key handles over the registry file. A handle holds the snapshot of its key read when it
// was opened, with its own changes applied, and the list of those changes; a flush replays
// the list on the file's current content (see reg_store.h). One process-wide mutex guards the
// set of live handles and every handle's state.
#include "platform/registry.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/device_path.h"
#include "platform/reg_data.h"
#include "platform/reg_store.h"
#include "platform/reg_text.h"

struct RegistryKey {
  std::u16string path;  // the full path, with the spelling the file already had
  std::string folder;   // the profile folder the key was opened in
  reg::Key view;        // values: the snapshot plus this handle's changes
  std::vector<reg::Change> pending;
};

namespace {

// The roots are never opened, changed or freed: only their addresses matter, so they are
// usable before static initialisation reaches them.
RegistryKey gLocalMachine;
RegistryKey gCurrentUser;

struct HandleTable {
  std::mutex mutex;
  std::unordered_set<RegistryKey*> live;
};

HandleTable& Handles() {
  // Never destroyed: threads may still close keys while the process exits.
  static HandleTable* table = new HandleTable;
  return *table;
}

const char16_t* RootName(HKEY key) {
  if (key == &gLocalMachine) {
    return u"HKEY_LOCAL_MACHINE";
  }
  if (key == &gCurrentUser) {
    return u"HKEY_CURRENT_USER";
  }
  return nullptr;
}

// A handle opened here and not yet closed; null for roots and anything else.
RegistryKey* LiveKey(HKEY key) {
  HandleTable& table = Handles();
  return table.live.count(key) != 0 ? key : nullptr;
}

bool IsRootPath(std::u16string_view path) {
  return path.find(u'\\') == path.npos;
}

std::u16string NameOrDefault(const WCHAR* name) {
  return name != nullptr ? name : u"";
}

// Text is stored up to its terminator: the caller's buffer beyond it (often a fixed
// 254 bytes) is not the value's and must not reach the file.
void CutAfterTerminator(std::vector<BYTE>* data) {
  for (size_t i = 0; i + 1 < data->size(); i += 2) {
    if ((*data)[i] == 0 && (*data)[i + 1] == 0) {
      data->resize(i + 2);
      return;
    }
  }
}

LONG OpenKey(HKEY parent, const WCHAR* subKey, bool create, HKEY* result, DWORD* disposition) {
  if (result == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  *result = nullptr;
  std::lock_guard<std::mutex> guard(Handles().mutex);
  std::u16string base;
  if (const char16_t* root = RootName(parent)) {
    base = root;
  } else if (RegistryKey* live = LiveKey(parent)) {
    base = live->path;
  } else {
    return ERROR_INVALID_HANDLE;
  }
  auto key = std::make_unique<RegistryKey>();
  key->path = reg::JoinKeyPath(base, NameOrDefault(subKey));
  if (!reg::IsQuotable(key->path)) {
    return ERROR_INVALID_PARAMETER;  // the file could not hold this path
  }
  key->folder = OrvikHome();
  reg::Tree tree;
  reg::LoadRegistry(key->folder, &tree);
  bool exists = IsRootPath(key->path) || reg::KeyExists(tree, key->path);
  if (!exists && !create) {
    return ERROR_FILE_NOT_FOUND;
  }
  if (const reg::Key* found = reg::FindKey(tree, key->path)) {
    key->view = *found;
    key->path = found->path;
  }
  if (!exists) {
    key->pending.push_back(reg::Change{reg::Change::kCreateKey, {}});
  }
  if (disposition != nullptr) {
    *disposition = exists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  }
  *result = key.get();
  Handles().live.insert(key.release());
  return ERROR_SUCCESS;
}

LONG Commit(RegistryKey* key) {
  if (key->pending.empty()) {
    return ERROR_SUCCESS;
  }
  reg::Tree committed;
  LONG result = reg::CommitChanges(key->folder, key->path, key->pending, &committed);
  if (result != ERROR_SUCCESS) {
    return result;  // the changes stay pending for the next flush
  }
  key->pending.clear();
  // From now on the handle sees the file as committed, other processes' values included.
  const reg::Key* found = reg::FindKey(committed, key->path);
  key->view.values = found != nullptr ? found->values : std::vector<reg::Value>();
  return ERROR_SUCCESS;
}

LONG CopyOut(const reg::Value& value, DWORD* type, BYTE* data, DWORD* size) {
  if (data != nullptr && size == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (type != nullptr) {
    *type = value.type;
  }
  DWORD needed = static_cast<DWORD>(value.data.size());
  if (data == nullptr) {
    if (size != nullptr) {
      *size = needed;
    }
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (needed != 0) {
    std::memcpy(data, value.data.data(), needed);
  }
  *size = needed;
  return ERROR_SUCCESS;
}

}  // namespace

const HKEY HKEY_LOCAL_MACHINE = &gLocalMachine;
const HKEY HKEY_CURRENT_USER = &gCurrentUser;

LONG RegCreateKeyEx(HKEY root, const WCHAR* subKey, const WCHAR* /*keyClass*/, HKEY* result,
                    DWORD* disposition) {
  return OpenKey(root, subKey, true, result, disposition);
}

LONG RegOpenKeyEx(HKEY root, const WCHAR* subKey, HKEY* result) {
  return OpenKey(root, subKey, false, result, nullptr);
}

LONG RegQueryValueEx(HKEY key, const WCHAR* valueName, DWORD* type, BYTE* data, DWORD* size) {
  std::lock_guard<std::mutex> guard(Handles().mutex);
  reg::Key rootView;
  const reg::Key* view = nullptr;
  if (const char16_t* root = RootName(key)) {
    // A root is never opened, so it has no snapshot: read the file now.
    reg::Tree tree;
    reg::LoadRegistry(OrvikHome(), &tree);
    if (const reg::Key* found = reg::FindKey(tree, root)) {
      rootView = *found;
    }
    view = &rootView;
  } else if (RegistryKey* live = LiveKey(key)) {
    view = &live->view;
  } else {
    return ERROR_INVALID_HANDLE;
  }
  const reg::Value* value = reg::FindValue(*view, NameOrDefault(valueName));
  if (value == nullptr) {
    return ERROR_FILE_NOT_FOUND;
  }
  return CopyOut(*value, type, data, size);
}

LONG RegSetValueEx(HKEY key, const WCHAR* valueName, DWORD type, const BYTE* data, DWORD size) {
  std::lock_guard<std::mutex> guard(Handles().mutex);
  RegistryKey* live = LiveKey(key);
  if (live == nullptr) {
    // Values are written through an opened key; a root has no handle to commit from.
    return RootName(key) != nullptr ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE;
  }
  std::u16string name = NameOrDefault(valueName);
  if ((data == nullptr && size != 0) || !reg::IsQuotable(name)) {
    return ERROR_INVALID_PARAMETER;
  }
  reg::Value value{name, type, std::vector<BYTE>(data, data + size)};
  if (type == REG_SZ) {
    CutAfterTerminator(&value.data);
  }
  reg::SetValue(&live->view, value);
  live->pending.push_back(reg::Change{reg::Change::kSetValue, std::move(value)});
  return ERROR_SUCCESS;
}

LONG RegDeleteValue(HKEY key, const WCHAR* valueName) {
  std::lock_guard<std::mutex> guard(Handles().mutex);
  RegistryKey* live = LiveKey(key);
  if (live == nullptr) {
    return RootName(key) != nullptr ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE;
  }
  std::u16string name = NameOrDefault(valueName);
  if (!reg::DeleteValue(&live->view, name)) {
    return ERROR_FILE_NOT_FOUND;
  }
  live->pending.push_back(reg::Change{reg::Change::kDeleteValue, reg::Value{name, 0, {}}});
  return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY key) {
  std::lock_guard<std::mutex> guard(Handles().mutex);
  if (RootName(key) != nullptr) {
    return ERROR_SUCCESS;
  }
  RegistryKey* live = LiveKey(key);
  return live != nullptr ? Commit(live) : ERROR_INVALID_HANDLE;
}

LONG RegCloseKey(HKEY key) {
  std::lock_guard<std::mutex> guard(Handles().mutex);
  if (RootName(key) != nullptr) {
    return ERROR_SUCCESS;
  }
  RegistryKey* live = LiveKey(key);
  if (live == nullptr) {
    return ERROR_INVALID_HANDLE;
  }
  // The handle goes either way, as on the handheld; a failed commit is reported.
  LONG result = Commit(live);
  Handles().live.erase(live);
  delete live;
  return result;
}
