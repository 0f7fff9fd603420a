// HeadlessHost: the engine's host without windows, for the tests, the benchmarks and the
// command-line driver. It owns the settings, debug log, named-lock registry and shutdown
// event, serves a message-only main frame on the thread that creates it (that thread plays
// the UI thread and must pump messages: PumpUntil), runs login attempts on a login thread,
// and records what the engine showed the user.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "xmpp/jabber_host.h"
#include "xmpp/session.h"

// The XMPP account ("jud") as the engine sees it: credentials and the create-account flag.
class HeadlessJabberAccount : public IJabberService {
 public:
  wmstring GetName() override { return u"Jabber Service"; }
  wmstring GetType() override { return u"jud"; }
  void Setup(HWND) override {}
  bool Save() override { return true; }
  bool Load() override { return true; }
  wmstring GetServer() override { return server; }
  wmstring GetUsername() override { return username; }
  wmstring GetPassword() override { return password; }
  bool GetCreateAccount() override { return createAccount; }
  void SetCreateAccount(bool on) override { createAccount = on; }
  bool TakeChanged() override { return false; }
  wmstring AddUserDialog(HWND) override { return wmstring(); }
  bool ValidateAddress(const wmstring&, wmstring& message) override {
    message = wmstring();
    return true;
  }

  wmstring server;
  wmstring username;
  wmstring password;
  bool createAccount = false;
};

class HeadlessHost : public IJabberHost {
 public:
  // Creates the main frame on the calling thread. Settings are loaded from the registry of
  // $ORVIK_HOME; callers may change them before logging in.
  HeadlessHost();
  ~HeadlessHost() override;
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  MJabberSession* session() { return session_; }
  HeadlessJabberAccount* account() { return account_; }

  // Starts one login attempt on a login thread: jab_connect, then the receive loop until the
  // connection ends, then the after-run step. False when an attempt is still running.
  bool StartLogin(const char* server, const char* user, const char* password, int port,
                  bool create_account);
  // True once the login thread has finished (pumping messages while waiting).
  bool WaitLoginThread(int timeout_ms);
  // True when no login thread runs (no waiting).
  bool LoginThreadDone();
  // The result of the last jab_connect (-1 before it returned).
  int connect_result() const { return connect_result_; }

  // Runs this thread's messages until `done()` is true or `timeout_ms` have passed; returns
  // done(). `done()` is looked at after every message and every 10 ms, since other threads
  // change what it watches without a message.
  bool PumpUntil(const std::function<bool()>& done, int timeout_ms);
  // Runs this thread's messages for `milliseconds`, sleeping whenever none comes.
  void PumpFor(int milliseconds);

  // --- what happened (any thread) ---
  std::vector<std::string> LogLines();
  bool HasLogLine(const std::string& line);
  std::vector<std::string> MessageBoxes();
  int logged_in_count() const { return loggedIn_; }
  int session_ended_count() const { return sessionEnded_; }
  int keepalive_count() const { return keepalives_; }
  int roster_items() const { return rosterItems_; }
  int roster_results() const { return rosterResults_; }
  int logout_count() const { return logouts_; }
  // Serialised copies of the packets handed to the dispatcher entry (the first 10000).
  std::vector<std::string> Dispatched();
  int dispatched_count() const { return dispatchedCount_; }
  // Called for every packet handed to the dispatcher entry, on the UI thread.
  std::function<void(packet*)> onDispatch;
  // Whether Dispatched() keeps copies (benchmarks switch it off).
  bool recordPackets = true;

  // --- IJabberHost ---
  MSettings& Settings() override { return *settings_; }
  MDebugLog& DebugLog() override { return *debugLog_; }
  MAppMutexes& Mutexes() override { return *mutexes_; }
  MShutdownEvent& Shutdown() override { return *shutdown_; }
  HWND MainWindow() override { return frame_; }
  void AppendLog(const char* html) override;
  void ClearLog() override;
  void ShowMessageBox(const char* text, const char* caption) override;
  bool LoginRequested() override { return loginRequested_; }
  void SetLoginRequested(bool requested) override { loginRequested_ = requested; }
  bool CompressionSwitch() override { return compression; }
  void Logout() override;
  void CurrentStatus(mstring* status, mstring* show) override;
  void ClearRoster() override { ++rosterClears_; }
  void DispatchPacket(packet* p) override;
  void RosterReceived(packet* query) override;

  std::atomic<bool> compression{false};
  mstring status;
  mstring show = "available";
  std::atomic<int> rosterClears_{0};

 private:
  bool Pump(const std::function<bool()>& done, int timeout_ms, int recheck_ms);
  static LRESULT FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static DWORD LoginThread(void* parameter);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<MSettings> settings_;
  std::unique_ptr<MAppMutexes> mutexes_;
  std::unique_ptr<MDebugLog> debugLog_;
  std::unique_ptr<MShutdownEvent> shutdown_;
  HeadlessJabberAccount* account_;  // owned by the settings
  HWND frame_ = nullptr;
  MJabberSession* session_;

  HANDLE loginThread_ = nullptr;
  std::string server_, user_, password_;
  int port_ = 5222;
  bool createAccount_ = false;
  std::atomic<int> connect_result_{-1};

  std::mutex lock_;
  std::vector<std::string> log_;
  std::vector<std::string> boxes_;
  std::vector<std::string> dispatched_;
  std::atomic<bool> loginRequested_{false};
  std::atomic<int> loggedIn_{0};
  std::atomic<int> sessionEnded_{0};
  std::atomic<int> keepalives_{0};
  std::atomic<int> rosterItems_{0};
  std::atomic<int> rosterResults_{0};
  std::atomic<int> logouts_{0};
  std::atomic<int> dispatchedCount_{0};
};
