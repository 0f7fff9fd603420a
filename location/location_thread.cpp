#include "location/location_thread.h"

#include <charconv>
#include <cstring>
#include <memory>
#include <mutex>

#include "location/fix_indicator.h"
#include "location/gps.h"
#include "location/location_store.h"
#include "location/serial_reader.h"
#include "platform/kernel.h"
#include "roster/jabber_roster.h"
#include "xmpp/iq_tracking.h"
#include "xmpp/jabber_host.h"
#include "xmpp/operations.h"
#include "xmpp/session.h"

namespace {

// A period of 0 in the registry must not make the thread spin.
constexpr DWORD kShortestPeriod = 100;
// How long a stop waits for a pass stuck in the network before the thread is abandoned.
constexpr DWORD kStopWait = 5000;

std::atomic<int> g_running{0};

struct LocationThread {
  IJabberHost* host;
  MJabberSession* session;
  MJabberRoster* roster;
  LocationFlags flags;
  HANDLE stop = nullptr;
  HANDLE thread = nullptr;
  // The texts of the position last published.
  mstring lastAlt, lastLon, lastLat;
};

std::mutex g_lock;  // guards g_thread
std::unique_ptr<LocationThread> g_thread;

double Decimal(const mstring& text) {
  double value = 0;
  std::from_chars(text.c_str(), text.c_str() + text.length(), value);
  return value;
}

// A changed valid position is published once; an invalid one never.
void PublishPosition(LocationThread& t, const StoredLocation& position) {
  if (!IsValidLocation(Decimal(position.lat), Decimal(position.lon))) {
    *t.flags.published = 0;
    return;
  }
  if (*t.flags.published != 0 && position.alt == t.lastAlt && position.lon == t.lastLon &&
      position.lat == t.lastLat) {
    return;
  }
  *t.flags.published = 0;
  const mstring& service = t.host->Settings().lbsJid;
  if (service.empty() || publish_location(t.session, service.c_str()) == 0) {
    return;
  }
  *t.flags.published = 1;
  StoredLocation sent = GetLocation(*t.host);
  t.lastAlt = sent.alt;
  t.lastLon = sent.lon;
  t.lastLat = sent.lat;
}

// Each contact once per roster load; the flag is set where the contact is filed, so a change
// the user-interface thread makes to the entry meanwhile is kept.
void SubscribeContacts(LocationThread& t) {
  for (const RosterItem& item : t.roster->ListItems(wmstring())) {
    if (item.locationRequested == 0 && t.roster->MarkLocationRequested(item.jid.c_str())) {
      request_geoloc_subscribe(t.session, item.jid.c_str());
    }
  }
}

void Pass(LocationThread& t) {
  ShowGpsFix(false);  // the indicator waits for the receiver's next fix
  const MSettings& settings = t.host->Settings();
  if (settings.enableGps && !SerialReader::IsRunning()) {
    StartGps(*t.host);
  }
  StoredLocation position = GetLocation(*t.host);
  if (t.session == nullptr || t.session->state.load() != SESSION_ONLINE) {
    *t.flags.published = 0;
    return;
  }
  PublishPosition(t, position);
  if (settings.lbsJid.empty()) {
    return;  // no service to ask
  }
  if (t.flags.ownItemsRequested->exchange(1) == 0) {
    request_contact_location(t.session, session_own_bare(t.session).c_str());
  }
  SubscribeContacts(t);
}

DWORD Run(void* parameter) {
  auto& t = *static_cast<LocationThread*>(parameter);
  HANDLE events[2] = {t.stop, t.host->Shutdown().handle()};
  while (t.host->Settings().locationSupport) {
    Pass(t);
    DWORD period = t.host->Settings().locationUpdatePeriod;
    if (WaitForMultipleObjects(2, events, FALSE,
                               period < kShortestPeriod ? kShortestPeriod : period) !=
        WAIT_TIMEOUT) {
      break;
    }
  }
  ShowGpsFix(false);  // the indicator waits for the receiver's next fix
  --g_running;
  return 0;
}

// Joins the thread (abandoning it only when a pass hangs in the network) and frees its state.
void Finish(std::unique_ptr<LocationThread> t) {
  SetEvent(t->stop);
  if (WaitForSingleObject(t->thread, kStopWait) != WAIT_OBJECT_0) {
    TerminateThread(t->thread, 0);
    t.release();  // the abandoned thread may still read its state
    return;
  }
  CloseHandle(t->thread);
  CloseHandle(t->stop);
}

}  // namespace

void StartLocationThread(IJabberHost& host, MJabberSession* session, MJabberRoster& roster,
                         LocationFlags flags) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (g_thread != nullptr) {
    if (WaitForSingleObject(g_thread->thread, 0) != WAIT_OBJECT_0) {
      return;  // one runs already
    }
    Finish(std::move(g_thread));  // it ended by itself (location support was turned off)
  }
  auto t = std::make_unique<LocationThread>();
  t->host = &host;
  t->session = session;
  t->roster = &roster;
  t->flags = flags;
  *flags.published = 0;
  *flags.ownItemsRequested = 0;
  t->stop = CreateEvent(TRUE, FALSE);
  ++g_running;  // counted from here, so a count right after the start sees it
  t->thread = CreateThread(Run, t.get(), nullptr);
  if (t->thread == nullptr) {
    --g_running;
    CloseHandle(t->stop);
    return;
  }
  g_thread = std::move(t);
}

void StopLocationThread() {
  std::unique_ptr<LocationThread> t;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    t = std::move(g_thread);
  }
  if (t != nullptr) {
    Finish(std::move(t));
  }
}

int LocationThreadCount() {
  return g_running.load();
}
