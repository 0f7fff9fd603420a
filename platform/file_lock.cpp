#include "platform/file_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

bool FileLock::Lock(const std::string& path, bool exclusive) {
  Unlock();
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0 && !exclusive) {
    // A reader of a profile it may not write still takes the lock when the file is there.
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  }
  if (fd < 0) {
    return false;
  }
  int result;
  do {
    result = flock(fd, exclusive ? LOCK_EX : LOCK_SH);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    int error = errno;
    close(fd);
    errno = error;
    return false;
  }
  fd_ = fd;
  return true;
}

void FileLock::Unlock() {
  if (fd_ >= 0) {
    close(fd_);  // closing the only descriptor releases the lock
    fd_ = -1;
  }
}
