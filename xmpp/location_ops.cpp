// The device's location: answering a contact's request and publishing the own position.
#include <cstdio>

#include "xmpp/operations.h"
#include "xmpp/session_loop.h"
#include "xmpp/stanza_send.h"

namespace {

bool location_allowed(MJabberSession* session) {
  return session && session->conn && session->host->Settings().locationSupport &&
         connection_alive(session);
}

}  // namespace

mstring utc_timestamp(const SYSTEMTIME& utc) {
  char text[40];
  std::snprintf(text, sizeof text, "%d-%02d-%02dT%02d:%02d:%02dZ", utc.wYear, utc.wMonth, utc.wDay,
                utc.wHour, utc.wMinute, utc.wSecond);
  return mstring(text);
}

void answer_location_request(MJabberSession* session, const char* requester, const char* id) {
  if (!location_allowed(session))
    return;
  SYSTEMTIME now;
  GetSystemTime(&now);
  mstring timestamp = utc_timestamp(now);
  mstring alt, lon, lat, stored_time;
  session->host->CurrentLocation(&alt, &lon, &lat, &stored_time);
  unsigned lifetime = session->host->Settings().locationUpdatePeriod;
  jab_send_geoloc_result(session->conn, requester, id, alt.c_str(), lon.c_str(), lat.c_str(),
                         lifetime, timestamp.c_str());
}

int publish_location(MJabberSession* session, const char* target) {
  if (!location_allowed(session))
    return 0;
  mstring alt, lon, lat, timestamp;
  session->host->CurrentLocation(&alt, &lon, &lat, &timestamp);
  if (!target || !*target) {
    mstring status, show;
    session->host->CurrentStatus(&status, &show);
    send_own_presence(session, status.c_str(), show.c_str());
  }
  pubsub_next_id(PUBSUB_PUBLISH);
  const char* to = target && *target ? target : nullptr;
  jab_send_geoloc_publish(session->conn, to, alt.c_str(), lon.c_str(), lat.c_str(),
                          timestamp.c_str());
  return 1;
}
