// The records of the contact list: one contact (or announced service) as the roster window
// shows it, a named group of contacts, and one service announced by the server.
#pragma once

#include <cstdint>
#include <list>

#include "xml/mstring.h"
#include "xml/wmstring.h"

struct RosterItem {
  mstring jid;          // bare address; the key, compared without regard to ASCII case
  mstring serviceType;  // the announcing gateway's `service` ("aim", "icq", ...), "" for XMPP
  mstring resource;     // resource of the last presence
  mstring show;
  mstring status;
  mstring subscription;  // "both", "to", "from", "none"; "" for services
  wmstring name;         // display name: the roster name, else the jid
  wmstring group;        // the group that holds the entry
  std::uint32_t online = 0;
  mstring alt;
  mstring lon;
  mstring lat;
  mstring timestamp;
  std::uint8_t hasLocation = 0;
  std::uint8_t shown = 0;
  std::uint8_t locationRequested = 0;
};

struct RosterGroup {
  mstring name;
  std::list<RosterItem> items;  // in insertion order
};

struct AgentEntry {
  mstring jid;
  mstring name;
  mstring description;
  mstring service;
  std::uint8_t shown = 0;
};

// The group that holds one entry per announced service, and the default group of contacts.
constexpr const char* kServicesGroup = "Services";
constexpr const char* kContactsGroup = "Contacts";
