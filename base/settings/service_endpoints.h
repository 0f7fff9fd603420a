// The services the program's maker used to run: the location service, the broadcast service
// and the two web pages for positions. Their built-in values can be changed without a
// rebuild through the registry key "Software\orvik\Defaults" (HKEY_LOCAL_MACHINE), with the
// values "LBS JID", "TRUSTED TESSELCAST JID", "MAP QUERY" and "MYLOC QUERY" (REG_SZ). The
// location service JID can only be changed there: the program always resets the user's
// "LBS JID" to this built-in value after loading.
#pragma once

#include "xml/mstring.h"

struct ServiceEndpoints {
  mstring lbsJid;
  mstring trustedTesselcastJid;
  mstring mapQuery;
  mstring mylocQuery;
};

constexpr const char* kDefaultLbsJid = "lbs.orvik.im";
constexpr const char* kDefaultTesselcastJid = "broadcast.orvik.im";
constexpr const char* kDefaultMapQuery =
    "http://maps.orvik.im/maps/map.adp?latlongtype=decimal&latitude=%s&longitude=%s";
constexpr const char* kDefaultMylocQuery =
    "http://locator.orvik.im/locator/auth/mobile/default.aspx?jid=%s";

// The built-in endpoints, with any override from the registry applied.
ServiceEndpoints LoadServiceEndpoints();
