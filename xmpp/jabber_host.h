// IJabberHost: everything the session engine needs from the application, and nothing more.
// The engine sits below the roster, the windows and the dispatcher, so it reaches them only
// through this interface; app/ implements it when it wires the program, and HeadlessHost
// (headless_host.h) implements it for tests and the command-line driver.
//
// Calls come from the thread named with each group. The engine holds no lock of its own
// while it calls the host, except the session's dispatch lock during packet handling.
#pragma once

#include "base/runtime/app_mutexes.h"
#include "base/runtime/shutdown_event.h"
#include "base/settings/settings.h"
#include "diag/debug_log.h"
#include "platform/message_queue.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

struct packet;

class IJabberHost {
 public:
  virtual ~IJabberHost() = default;

  // --- services the engine is handed (any thread) ---
  virtual MSettings& Settings() = 0;
  virtual MDebugLog& DebugLog() = 0;
  virtual MAppMutexes& Mutexes() = 0;
  virtual MShutdownEvent& Shutdown() = 0;
  // The main frame: receives UM_SESSION_RECEIVED, UM_SESSION_KEEPALIVE, UM_LOGGED_IN,
  // UM_SESSION_ENDED and the post-login timer.
  virtual HWND MainWindow() = 0;

  // --- what the user sees (any thread) ---
  // Appends one HTML fragment to the log window.
  virtual void AppendLog(const char* html) = 0;
  virtual void ClearLog() = 0;
  // The common message box; a null caption means "orvik Messenger".
  virtual void ShowMessageBox(const char* text, const char* caption) = 0;

  // --- application state ---
  // The login-requested flag: the current login was asked for by the user.
  virtual bool LoginRequested() = 0;
  virtual void SetLoginRequested(bool requested) = 0;
  // The settings' compression switch (off by default; never stored in the registry).
  virtual bool CompressionSwitch() = 0;
  // The application logs out (called on the UI thread after a refused login).
  virtual void Logout() = 0;
  // The status text and show of the own presence.
  virtual void CurrentStatus(mstring* status, mstring* show) = 0;
  // The roster model is emptied (a login to another server).
  virtual void ClearRoster() = 0;

  // --- the dispatcher entry (UI thread, under the dispatch lock) ---
  // Every packet the engine does not consume itself. The packet is freed after the call.
  virtual void DispatchPacket(packet* p) = 0;

  // --- model hooks (UI thread); the defaults do nothing ---
  // The roster result's query payload (items for the roster model).
  virtual void RosterReceived(packet* /*query*/) {}
  // The agents result's query payload (announced gateways for the service list).
  virtual void AgentsReceived(packet* /*query*/) {}
  // The announced service whose address is `address`: its name and type.
  virtual bool FindService(const char* /*address*/, mstring* /*name*/, mstring* /*type*/) {
    return false;
  }
  // A gateway found through service discovery joins the service list.
  virtual void AddService(const char* /*address*/, const wmstring& /*name*/, const char* /*type*/) {
  }
  // The position texts of the location store; the default reads the stored position.
  virtual void CurrentLocation(mstring* alt, mstring* lon, mstring* lat, mstring* timestamp);
  // A contact's fetched position.
  virtual void ContactLocation(const char* /*owner*/, const char* /*alt*/, const char* /*lon*/,
                               const char* /*lat*/, const char* /*timestamp*/) {}
  // A route answer from the routing service.
  virtual void RouteReceived(packet* /*p*/) {}
  // The collaboration service opened a dial session: the user picks contacts next.
  virtual void DialSessionStarted(const char* /*session_id*/) {}
  // The call dialog: asks the user for the host of `contact`; "" when cancelled.
  virtual mstring AskCallHost(const char* /*contact*/) { return mstring(); }
};
