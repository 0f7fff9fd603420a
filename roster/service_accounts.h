// Making the service accounts: the factory of the keys "Service0" to "Service4", and the
// creation at start-up that fills the settings store's list.
#pragma once

#include <memory>

#include "base/settings/settings.h"

// "Service0" MJabberService, "Service1" MMSNService, "Service2" MYahooService, "Service3"
// MICQService, "Service4" MAimService; null for any other key.
std::unique_ptr<IJabberService> CreateServiceAccount(const char* key);

// Creates Service0 to Service4 in order and adds each to `settings`; when "SHOW SERVICES" is
// off it stops after the first, so only the XMPP account exists.
void CreateServiceAccounts(MSettings& settings);
