// The application mutex registry. Every named mutex of the program is created here; the kernel
// name is the given name followed by the application's instance value, so two copies of the
// program never share a mutex by accident. The registry remembers every handle until it is
// closed, so shutdown can release whatever is still held.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/kernel.h"
#include "xml/mstring.h"

class MAppMutexes {
 public:
  explicit MAppMutexes(std::uintptr_t instance);
  ~MAppMutexes();
  MAppMutexes(const MAppMutexes&) = delete;
  MAppMutexes& operator=(const MAppMutexes&) = delete;

  // Creates or opens the mutex `name`, taking it at once when `initiallyOwned` and no one else
  // has created it. Null when the registry's own mutex cannot be had.
  HANDLE CreateAppMutex(const char* name, bool initiallyOwned);
  // Releases the mutex held through `mutex`, closes the handle and forgets it.
  void CloseAppMutex(HANDLE mutex);
  // At shutdown: releases (without closing) every mutex still in the list.
  void ReleaseAppMutexes();

  // The kernel name used for `name`.
  mstring KernelName(const char* name) const;
  std::size_t Count();

 private:
  struct Entry {
    HANDLE handle;
    DWORD thread;      // the thread that created this handle
    bool initialHold;  // the creation itself took the mutex
  };
  HANDLE LockList(DWORD milliseconds);
  void UnlockList(HANDLE guard);

  std::uintptr_t instance_;
  std::vector<Entry> entries_;
};
