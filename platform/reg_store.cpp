#include "platform/reg_store.h"

#include <errno.h>

#include "platform/file_lock.h"
#include "platform/reg_file.h"
#include "platform/reg_file_io.h"

namespace reg {
namespace {

constexpr char kFileName[] = "registry.reg";
constexpr char kLockName[] = "registry.lock";

LONG ErrorFromErrno(int error, LONG otherwise) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case ENOENT:
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return otherwise;
  }
}

}  // namespace

void LoadRegistry(const std::string& folder, Tree* tree) {
  tree->keys.clear();
  if (folder.empty()) {
    return;
  }
  // A reader that cannot take the lock still reads: the file is only ever replaced by a
  // rename, so it sees a complete old or new file either way.
  FileLock lock;
  lock.Lock(folder + "/" + kLockName, false);
  std::string text;
  if (ReadRegularFile(folder + "/" + kFileName, &text) == 0) {
    ParseRegText(text, tree);
  }
}

LONG CommitChanges(const std::string& folder, std::u16string_view keyPath,
                   const std::vector<Change>& changes, Tree* committed) {
  if (folder.empty()) {
    return ERROR_PATH_NOT_FOUND;
  }
  FileLock lock;
  if (!lock.Lock(folder + "/" + kLockName, true)) {
    return ErrorFromErrno(errno, ERROR_WRITE_FAULT);
  }
  RemoveStaleTemporaries(folder, kFileName);
  std::string text;
  int error = ReadRegularFile(folder + "/" + kFileName, &text);
  if (error != 0 && error != ENOENT) {
    return ErrorFromErrno(error, ERROR_READ_FAULT);
  }
  Tree tree;
  ParseRegText(text, &tree);
  for (const Change& change : changes) {
    ApplyChange(&tree, keyPath, change);
  }
  error = ReplaceFileAtomically(folder, kFileName, FormatRegText(tree));
  if (error != 0) {
    return ErrorFromErrno(error, ERROR_WRITE_FAULT);
  }
  *committed = std::move(tree);
  return ERROR_SUCCESS;
}

}  // namespace reg
