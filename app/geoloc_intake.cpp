#include "app/geoloc_intake.h"

#include "app/app.h"
#include "app/jabber_wnd.h"
#include "location/location_store.h"
#include "roster/roster_messages.h"
#include "xmpp/session.h"

namespace {

constexpr size_t kFieldSize = 256;

// The publisher the event speaks for. The location service names it in the event's addresses;
// anyone else could name any contact there, so from others the sender itself is the publisher.
mstring Publisher(MApp* app, packet* p, const char* named) {
  mstring from = packet_from(p);
  mstring fromBare = from.substr(0, from.find('/'));
  const mstring& service = app->settings->lbsJid;
  if (*named != '\0' && !service.empty() && mstricmp(fromBare.c_str(), service.c_str()) == 0) {
    return mstring(named);
  }
  return from;
}

}  // namespace

void MGeolocIntake::EventReceived(packet* p) {
  char alt[kFieldSize], lon[kFieldSize], lat[kFieldSize], timestamp[kFieldSize], named[kFieldSize];
  packet_geoloc_event(p, {alt, sizeof alt}, {lon, sizeof lon}, {lat, sizeof lat},
                      {timestamp, sizeof timestamp}, {named, sizeof named});
  PositionReceived(Publisher(app_, p, named), alt, lon, lat, timestamp);
}

void MGeolocIntake::PositionReceived(const mstring& publisher, const char* alt, const char* lon,
                                     const char* lat, const char* timestamp) {
  std::uint32_t slash = publisher.find('/');
  mstring bare = publisher.substr(0, slash);
  mstring resource = slash == mstring::npos ? mstring() : publisher.substr(slash + 1);
  if (bare.empty()) {
    return;
  }
  if (mstricmp(bare.c_str(), session_own_bare(app_->session).c_str()) == 0) {
    OwnLocationReceived(alt, lon, lat, timestamp);
    return;
  }
  ContactLocationReceived(bare.c_str(), resource.c_str(), alt, lon, lat, timestamp);
}

// The service's copy of the own position: stored only when newer than the device's own.
void MGeolocIntake::OwnLocationReceived(const char* alt, const char* lon, const char* lat,
                                        const char* timestamp) {
  if (app_->session != nullptr && app_->session->host != nullptr) {
    SetLocation(*app_->session->host, alt, lon, lat, timestamp);
  }
}

void MGeolocIntake::ContactLocationReceived(const char* jid, const char* resource, const char* alt,
                                            const char* lon, const char* lat,
                                            const char* timestamp) {
  RosterItem entry = app_->roster->GetItem(jid, resource);
  if (entry.name.empty()) {
    return;
  }
  auto* record = new RosterItem(entry);
  record->alt = alt;
  record->lon = lon;
  record->lat = lat;
  record->timestamp = timestamp;
  record->hasLocation = 1;
  record->locationRequested = 1;
  SendMessage(app_->mainFrame->GetHwnd(), UM_ROSTER_UPDATE_ITEM, 0,
              reinterpret_cast<LPARAM>(record));
}
