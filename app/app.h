// MApp: the application object. It owns every long-lived component (settings, debug log,
// registries, the main frame and the windows), creates them in order at start-up, runs the
// message loop and shuts the program down in order. One per process, reachable through App().
#pragma once

#include <atomic>
#include <memory>

#include "app/app_routes.h"
#include "base/runtime/app_mutexes.h"
#include "base/runtime/app_threads.h"
#include "base/runtime/shutdown_event.h"
#include "base/settings/settings.h"
#include "diag/debug_log.h"
#include "platform/critical_section.h"
#include "roster/jabber_roster.h"
#include "ui/log_wnd.h"
#include "ui/wnd_stack.h"
#include "xml/mstring.h"
#include "xmpp/session.h"

class MActiveChatsWnd;
class MCapAlertWnd;
class MChatWnd;
class MJabberWnd;
class MLoginWnd;
class MMUCRosterWnd;
class MRosterWnd;

class MApp {
 public:
  MApp(HINSTANCE instance, const mstring& commandLine);
  ~MApp();
  MApp(const MApp&) = delete;
  MApp& operator=(const MApp&) = delete;

  // Start-up steps 1 to 15; false when the main frame could not be made.
  bool Initialise();
  // The message loop: returns the quit message's parameter.
  int Run();
  // The shutdown sequence (the Exit command).
  void Exit();
  // Applies a command line (this start's or a second start's).
  void ParseCommandLine(const mstring& text);

  HANDLE CreateAppMutex(const char* name, bool initiallyOwned);
  void CloseAppMutex(HANDLE mutex);
  void RegisterThread(HANDLE thread);
  void UnregisterThread(HANDLE thread);
  bool WaitForShutdown(DWORD milliseconds);

  void ShowLogWindow();
  // The later components' operations (do nothing until they are installed).
  MAppRoutes& routes() { return *routes_; }
  void SetRoutes(std::unique_ptr<MAppRoutes> routes);

  // Fields, in the order the program always kept them.
  HINSTANCE instance;
  HANDLE locationThread = nullptr;
  HANDLE loginThread = nullptr;
  std::unique_ptr<MShutdownEvent> shutdownEvent;
  HANDLE loginMutex = nullptr;
  mstring presenceShow;
  mstring statusText;
  mstring clientVersion;
  mstring country;
  mstring sessionStamp;
  LONG paneHeight = 0;
  LONG paneHeight2 = 0;
  LONG workAreaWidth = 0;
  DWORD statusCommand = 0;
  DWORD platform = 0;
  std::unique_ptr<MJabberWnd> mainFrame;
  MAppMutexes mutexes;
  MAppThreads threads;
  mstring commandLine;
  // The session engine with its connection; created at start-up, never replaced.
  MJabberSession* session = nullptr;
  std::unique_ptr<MSettings> settings;
  std::unique_ptr<MJabberRoster> roster;
  std::unique_ptr<MDebugLog> debugLog;
  // Read and written by the login thread and the user-interface thread.
  std::atomic<bool> loginRequested{false};
  std::atomic<BYTE> locationPublished{0};
  std::atomic<BYTE> locationRequested{0};
  CRITICAL_SECTION dispatchLock;
  CRITICAL_SECTION conversationLock;
  // banner: the advertising banner component, not part of this program

  MWndStack windows;
  std::unique_ptr<MLogWnd> logWindow;
  std::unique_ptr<MLoginWnd> loginWindow;
  std::unique_ptr<MRosterWnd> rosterWindow;
  std::unique_ptr<MChatWnd> chatWindow;
  std::unique_ptr<MActiveChatsWnd> activeChatsWindow;
  std::unique_ptr<MMUCRosterWnd> mucRosterWindow;
  std::unique_ptr<MCapAlertWnd> capAlertWindow;

 private:
  void SetUpComponents();
  void MeasureWorkArea();
  void CreateMainFrame();
  void CreateChildWindows();
  void StartSessionAndWindows();

  std::unique_ptr<MAppRoutes> routes_;
};

// The application object of this process (null before start-up and in a second start).
MApp* App();
void SetApp(MApp* app);
// Set when shutdown begins; the session's receive loop reads it.
extern std::atomic<bool> g_exiting;
