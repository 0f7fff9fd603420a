// The shutdown event: a manual-reset event signalled once when the user exits. Worker threads
// sleep through WaitForShutdown so that exit is prompt.
#pragma once

#include "platform/kernel.h"

class MShutdownEvent {
 public:
  MShutdownEvent();
  ~MShutdownEvent();
  MShutdownEvent(const MShutdownEvent&) = delete;
  MShutdownEvent& operator=(const MShutdownEvent&) = delete;

  void Signal();
  bool IsSignalled() const;
  // True when the event is signalled within `milliseconds`, false on time-out. If the wait
  // itself fails it sleeps for the given time and returns false.
  bool WaitForShutdown(DWORD milliseconds) const;
  HANDLE handle() const { return event_; }

 private:
  HANDLE event_;
};
