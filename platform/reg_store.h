// The registry file of one profile folder: registry.reg, guarded by registry.lock.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/reg_data.h"
#include "platform/win32_types.h"

namespace reg {

// The file's content read under a shared lock. A missing or unreadable file gives an empty
// tree (the program then runs on its defaults).
void LoadRegistry(const std::string& folder, Tree* tree);

// Commits the changes made through key `keyPath`: under the exclusive lock the file is read
// again, the changes are replayed on it in order and the result replaces the file
// atomically. ERROR_SUCCESS with the file's new content in `*committed`; otherwise an error
// and the file is left as it was. A file that exists but cannot be read is an error rather
// than an empty start, so a commit never wipes settings it could not see.
LONG CommitChanges(const std::string& folder, std::u16string_view keyPath,
                   const std::vector<Change>& changes, Tree* committed);

}  // namespace reg
