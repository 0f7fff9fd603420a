#include "base/settings/service_endpoints.h"

#include "base/settings/registry_values.h"

ServiceEndpoints LoadServiceEndpoints() {
  ServiceEndpoints endpoints{kDefaultLbsJid, kDefaultTesselcastJid, kDefaultMapQuery,
                             kDefaultMylocQuery};
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"Software\\orvik\\Defaults", &key) != ERROR_SUCCESS) {
    return endpoints;
  }
  ReadNarrowText(key, "LBS JID", endpoints.lbsJid);
  ReadNarrowText(key, "TRUSTED TESSELCAST JID", endpoints.trustedTesselcastJid);
  ReadNarrowText(key, "MAP QUERY", endpoints.mapQuery);
  ReadNarrowText(key, "MYLOC QUERY", endpoints.mylocQuery);
  RegCloseKey(key);
  return endpoints;
}
