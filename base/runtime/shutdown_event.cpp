#include "base/runtime/shutdown_event.h"

MShutdownEvent::MShutdownEvent() : event_(CreateEvent(TRUE, FALSE)) {}

MShutdownEvent::~MShutdownEvent() {
  if (event_) {
    CloseHandle(event_);
  }
}

void MShutdownEvent::Signal() {
  if (event_) {
    SetEvent(event_);
  }
}

bool MShutdownEvent::IsSignalled() const {
  return event_ && WaitForSingleObject(event_, 0) == WAIT_OBJECT_0;
}

bool MShutdownEvent::WaitForShutdown(DWORD milliseconds) const {
  DWORD result = event_ ? WaitForSingleObject(event_, milliseconds) : WAIT_FAILED;
  if (result == WAIT_OBJECT_0) {
    return true;
  }
  if (result != WAIT_TIMEOUT) {
    Sleep(milliseconds);
  }
  return false;
}
