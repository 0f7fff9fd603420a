// MAppHost: what the session engine needs from the program (IJabberHost), supplied by the
// application object: its settings, debug log, named locks and shutdown event, the main frame,
// the log window and the common message box, the login state and the own presence. Packets the
// engine does not consume go to the dispatcher; the roster hooks go to the roster link.
//
// The engine calls from the login thread as well as the user-interface thread, so nothing here
// touches a window directly from another thread: log lines are appended (the view's content
// is locked) and repainted on the user-interface thread; message boxes are posted.
#pragma once

#include <atomic>

#include "xmpp/jabber_host.h"

class MApp;
class MDispatcher;
class MLocationRoutes;
class MRosterLink;

class MAppHost : public IJabberHost {
 public:
  MAppHost(MApp* app, MDispatcher* dispatcher, MRosterLink* roster);

  MSettings& Settings() override;
  MDebugLog& DebugLog() override;
  MAppMutexes& Mutexes() override;
  MShutdownEvent& Shutdown() override;
  HWND MainWindow() override;

  void AppendLog(const char* html) override;
  void ClearLog() override;
  void ShowMessageBox(const char* text, const char* caption) override;

  bool LoginRequested() override;
  void SetLoginRequested(bool requested) override;
  bool CompressionSwitch() override { return false; }
  void Logout() override;
  void CurrentStatus(mstring* status, mstring* show) override;
  void ClearRoster() override;

  void DispatchPacket(packet* p) override;
  void RosterReceived(packet* query) override;
  void AgentsReceived(packet* query) override;
  bool FindService(const char* address, mstring* name, mstring* type) override;
  void AddService(const char* address, const wmstring& name, const char* type) override;
  void CurrentLocation(mstring* alt, mstring* lon, mstring* lat, mstring* timestamp) override;
  void ContactLocation(const char* owner, const char* alt, const char* lon, const char* lat,
                       const char* timestamp) override;
  void RouteReceived(packet* p) override;

  void SetLocationRoutes(MLocationRoutes* location) { location_ = location; }

  // The user-interface thread repaints the log window (UM_LOG_REDRAW).
  void RedrawLog();

 private:
  MApp* app_;
  MDispatcher* dispatcher_;
  MRosterLink* roster_;
  MLocationRoutes* location_ = nullptr;
  std::atomic<bool> redrawPosted_{false};
};
