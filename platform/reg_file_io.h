// File operations of the registry store. All return 0 or an errno value; nothing throws.
#pragma once

#include <string>
#include <string_view>

namespace reg {

// The whole content of a regular file. ENOENT when it is missing; EISDIR for a directory or
// any other non-regular file (opened without blocking, so a FIFO cannot hang the caller).
int ReadRegularFile(const std::string& path, std::string* content);

// Replaces folder/name with `content` so that a crash at any moment leaves either the old or
// the new file: folder/name.tmp-<pid> is written (mode 0600 whatever the umask), synced and
// renamed over the file, then the folder is synced. The temporary file is removed on failure.
int ReplaceFileAtomically(const std::string& folder, const std::string& name,
                          std::string_view content);

// Removes the temporary files that a writer killed mid-save left in `folder`. Only safe while
// holding the lock that every writer holds while its temporary file exists.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name);

}  // namespace reg
