// MLoginControl: when the program connects and disconnects, and the user's presence status.
// Each login attempt runs on a login thread (connect, then the receive loop until the
// connection is gone); automatic login retries there while "LOGIN ON STARTUP" is on. The
// login thread never touches a window or a model: it posts to the main frame, whose window
// procedure hands the messages back here on the user-interface thread.
#pragma once

#include <atomic>

#include "platform/window.h"
#include "xml/mstring.h"

class MApp;

// What the login procedure needs from a server text: the host and the port.
struct LoginTarget {
  mstring host;
  int port = 0;
  bool valid = false;  // false for an empty host or a port outside 1-65535
};
// "host" gets the default port (5223 when encrypting, else 5222); "host:port" its own.
LoginTarget ParseLoginServer(const mstring& server, bool encrypt);

class MLoginControl {
 public:
  explicit MLoginControl(MApp* app);

  // Starts a login attempt on a new thread (UI thread). False when one is already running or
  // the thread cannot be made. Right after a logout, while the old attempt winds down, the new
  // one is queued and starts when the old one has ended (true).
  bool Login(bool interactive);
  bool Logout();
  // The connection state changed (UM_LOGGED_IN, UM_SESSION_ENDED, after Log Off).
  void OnConnectionStateChanged();
  // The Log Off command: automatic login off, log out, the disconnected handling.
  void LogOff();
  // Logs out and logs in again once the running attempt has ended (new account values).
  void Relogin();
  // Selects a row of the status table and, when `send` and connected, sends the presence.
  void SetStatus(UINT command, bool send);

  bool IsConnected() const;
  bool LoginThreadRunning() const { return loginThreadRunning_; }

  // The program's own messages from the login thread; true when `message` was one of them.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Logins started since the program began (tests count reconnections with it).
  int LoginAttempts() const { return attempts_; }

 private:
  static DWORD LoginThread(void* parameter);
  int LoginProcedure();
  // One pass of the procedure; false when automatic login must stop.
  bool LoginPass(bool* connected);
  void PauseBeforeReconnecting();
  void UpdateMenu();
  void PostToFrame(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  void OnLoginThreadEnded();

  MApp* app_;
  std::atomic<bool> loginThreadRunning_{false};
  std::atomic<int> attempts_{0};
  bool reloginPending_ = false;
  // A logout has ended the session and the login thread is winding down (it will not retry).
  bool threadEnding_ = false;
};
