// An advisory lock (flock) on a lock file, shared between readers or exclusive for one
// writer. The kernel drops it when the holder dies, so a killed process never leaves the
// registry locked.
#pragma once

#include <string>

class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { Unlock(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Opens `path` (created with mode 0600 when missing) and waits for the lock; false with
  // errno set when the file cannot be opened or locked.
  bool Lock(const std::string& path, bool exclusive);
  void Unlock();

 private:
  int fd_ = -1;
};
