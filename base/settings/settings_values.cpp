#include "base/settings/settings_values.h"

#include "base/settings/service_endpoints.h"

SettingsValues::SettingsValues() {
  ServiceEndpoints endpoints = LoadServiceEndpoints();
  trustedTesselcastJid = endpoints.trustedTesselcastJid;
  lbsJid = endpoints.lbsJid;
  mapQuery = endpoints.mapQuery;
  mylocQuery = endpoints.mylocQuery;
}
