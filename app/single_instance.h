// One running program per user and profile. The first start listens on a local socket whose
// name is made from the user, the profile folder ($ORVIK_HOME) and the main frame's class and
// title; a second start connects, hands over its command line (1024 bytes, as the copy-data
// message carried it) and exits. The listener brings the frame forward and hands the command
// line to it as the copy-data message with tag 65003.
#pragma once

#include <string>

#include "platform/kernel.h"
#include "platform/window.h"
#include "xml/mstring.h"

class MSingleInstance {
 public:
  MSingleInstance() = default;
  ~MSingleInstance();
  MSingleInstance(const MSingleInstance&) = delete;
  MSingleInstance& operator=(const MSingleInstance&) = delete;

  enum class Result { First, HandedOver, Failed };
  // Claims the name, or hands `commandLine` (cut to 1023 bytes) to the running program.
  // Failed: neither was possible (the program then runs without the single-instance rule).
  Result Claim(const mstring& commandLine);
  // After the frame exists: a thread that accepts hand-overs and delivers them to `frame`
  // until `shutdown` is signalled. The caller registers the returned thread.
  HANDLE StartListening(HWND frame, HANDLE shutdown);

  // The socket's name (abstract namespace), for tests.
  static std::string SocketName();

 private:
  static DWORD ListenLoop(void* self);
  void Serve(int connection);

  int listener_ = -1;
  HWND frame_ = nullptr;
  HANDLE shutdown_ = nullptr;
};
