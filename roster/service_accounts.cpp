#include "roster/service_accounts.h"

#include <cstdio>
#include <cstring>

#include "roster/gateway_service.h"
#include "roster/xmpp_account.h"

std::unique_ptr<IJabberService> CreateServiceAccount(const char* key) {
  if (!key) {
    return nullptr;
  }
  if (std::strcmp(key, "Service0") == 0) {
    return std::make_unique<MJabberService>();
  }
  if (std::strcmp(key, "Service1") == 0) {
    return std::make_unique<MMSNService>();
  }
  if (std::strcmp(key, "Service2") == 0) {
    return std::make_unique<MYahooService>();
  }
  if (std::strcmp(key, "Service3") == 0) {
    return std::make_unique<MICQService>();
  }
  if (std::strcmp(key, "Service4") == 0) {
    return std::make_unique<MAimService>();
  }
  return nullptr;
}

void CreateServiceAccounts(MSettings& settings) {
  for (int i = 0; i <= 4; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "Service%d", i);
    if (std::unique_ptr<IJabberService> account = CreateServiceAccount(key)) {
      settings.AddServiceAccount(account.release());
    }
    if (!settings.showServices) {
      break;
    }
  }
}
