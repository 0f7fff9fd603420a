#include "app/app_host.h"

#include "app/app.h"
#include "app/app_messages.h"
#include "app/dispatcher.h"
#include "app/geoloc_intake.h"
#include "app/jabber_wnd.h"
#include "app/location_routes.h"
#include "app/roster_link.h"
#include "location/location_store.h"

MAppHost::MAppHost(MApp* app, MDispatcher* dispatcher, MRosterLink* roster)
    : app_(app), dispatcher_(dispatcher), roster_(roster) {}

MSettings& MAppHost::Settings() {
  return *app_->settings;
}
MDebugLog& MAppHost::DebugLog() {
  return *app_->debugLog;
}
MAppMutexes& MAppHost::Mutexes() {
  return app_->mutexes;
}
MShutdownEvent& MAppHost::Shutdown() {
  return *app_->shutdownEvent;
}
HWND MAppHost::MainWindow() {
  return app_->mainFrame->GetHwnd();
}

void MAppHost::AppendLog(const char* html) {
  if (app_->logWindow == nullptr || html == nullptr) {
    return;
  }
  app_->logWindow->AppendNarrow(html);
  // One repaint request at a time: a burst of lines costs one paint.
  if (!redrawPosted_.exchange(true)) {
    PostMessage(MainWindow(), UM_LOG_REDRAW, 0, 0);
  }
}

void MAppHost::RedrawLog() {
  redrawPosted_ = false;
  if (app_->logWindow != nullptr) {
    app_->logWindow->Redraw();
  }
}

void MAppHost::ClearLog() {
  if (app_->logWindow != nullptr) {
    app_->logWindow->Reset();
  }
}

// Posted, never shown from inside the engine: a modal box on the user-interface thread would
// run a message loop in the middle of parsing or dispatching a stanza.
void MAppHost::ShowMessageBox(const char* text, const char*) {
  PostMessage(MainWindow(), UM_SHOW_MESSAGE, 0, reinterpret_cast<LPARAM>(new mstring(text)));
}

bool MAppHost::LoginRequested() {
  return app_->loginRequested;
}
void MAppHost::SetLoginRequested(bool requested) {
  app_->loginRequested = requested;
}

void MAppHost::Logout() {
  app_->routes().Logout();
}

void MAppHost::CurrentStatus(mstring* status, mstring* show) {
  *status = app_->statusText;
  *show = app_->presenceShow;
}

// Called on the login thread while a connection is set up: the model changes on the
// user-interface thread, and before the new session's first stanza is parsed.
void MAppHost::ClearRoster() {
  SendMessage(MainWindow(), UM_ROSTER_CLEAR, 0, 0);
}

void MAppHost::DispatchPacket(packet* p) {
  dispatcher_->DispatchPacket(p);
}
void MAppHost::RosterReceived(packet* query) {
  roster_->RosterReceived(query);
}
void MAppHost::AgentsReceived(packet* query) {
  roster_->AgentsReceived(query);
}

bool MAppHost::FindService(const char* address, mstring* name, mstring* type) {
  return roster_->FindService(address, name, type);
}

// Read through the location store: under its lock, and as the registry has it now.
void MAppHost::CurrentLocation(mstring* alt, mstring* lon, mstring* lat, mstring* timestamp) {
  StoredLocation stored = GetLocation(*this);
  *alt = stored.alt;
  *lon = stored.lon;
  *lat = stored.lat;
  *timestamp = stored.timestamp;
}

void MAppHost::AddService(const char* address, const wmstring& name, const char* type) {
  roster_->AddDiscoveredService(address, name, type);
}

// A fetched position item from the location service the request went to: the own one goes to
// the location store, a contact's to its roster entry.
void MAppHost::ContactLocation(const char* owner, const char* alt, const char* lon, const char* lat,
                               const char* timestamp) {
  MGeolocIntake(app_).PositionReceived(owner, alt, lon, lat, timestamp);
}

void MAppHost::RouteReceived(packet* p) {
  if (location_ != nullptr) {
    location_->RouteReceived(p);
  }
}
