#include "platform/reg_file_io.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reg {
namespace {

std::string TemporaryPrefix(const std::string& name) {
  return name + ".tmp-";
}

int WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    ssize_t written = write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return written < 0 ? errno : EIO;
    }
    content.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

// Creates and fills the temporary file; it is complete on disk when this returns 0.
int WriteTemporary(const std::string& path, std::string_view content) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    return errno;
  }
  // The file holds passwords: 0600 even when an existing file had another mode.
  int error = fchmod(fd, 0600) != 0 ? errno : 0;
  if (error == 0) {
    error = WriteAll(fd, content);
  }
  if (error == 0 && fsync(fd) != 0) {
    error = errno;
  }
  if (close(fd) != 0 && error == 0) {
    error = errno;
  }
  return error;
}

// Makes the rename itself durable. Some file systems cannot sync a folder (EINVAL); the
// rename is still atomic there.
int SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return errno;
  }
  int error = fsync(fd) != 0 && errno != EINVAL ? errno : 0;
  close(fd);
  return error;
}

}  // namespace

int ReadRegularFile(const std::string& path, std::string* content) {
  content->clear();
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return errno;
  }
  struct stat status;
  int error = fstat(fd, &status) != 0 ? errno : 0;
  if (error == 0 && !S_ISREG(status.st_mode)) {
    error = EISDIR;
  }
  char buffer[65536];
  while (error == 0) {
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      error = got < 0 ? errno : 0;
      break;
    }
    content->append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  if (error != 0) {
    content->clear();
  }
  return error;
}

int ReplaceFileAtomically(const std::string& folder, const std::string& name,
                          std::string_view content) {
  std::string target = folder + "/" + name;
  std::string temporary = folder + "/" + TemporaryPrefix(name) + std::to_string(getpid());
  int error = WriteTemporary(temporary, content);
  if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    unlink(temporary.c_str());
    return error;
  }
  return SyncFolder(folder);
}

void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    return;
  }
  std::string prefix = TemporaryPrefix(name);
  while (const dirent* entry = readdir(dir)) {
    if (std::string_view(entry->d_name).substr(0, prefix.size()) == prefix) {
      unlinkat(dirfd(dir), entry->d_name, 0);
    }
  }
  closedir(dir);
}

}  // namespace reg
