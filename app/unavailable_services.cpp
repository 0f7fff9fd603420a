#include "app/unavailable_services.h"

#include "app/setup_dialogs.h"
#include "xml/text_convert.h"

std::vector<wmstring> UnavailableServices(const MSettings& settings,
                                          const std::list<AgentEntry>& announced) {
  std::vector<wmstring> missing;
  for (std::size_t i = 1; i < settings.ServiceAccountCount(); ++i) {
    IJabberService* account = settings.ServiceAccount(i);
    if (account->GetUsername().empty()) {
      continue;
    }
    mstring type = wide_to_utf8(account->GetType());
    bool offered = false;
    for (const AgentEntry& service : announced) {
      offered = offered || mstricmp(service.service.c_str(), type.c_str()) == 0;
    }
    if (!offered) {
      missing.push_back(account->GetName());
    }
  }
  return missing;
}

void CheckUnavailableServices(MSettings& settings, const std::list<AgentEntry>& announced) {
  std::vector<wmstring> missing = UnavailableServices(settings, announced);
  if (!settings.displayNoServicesDbox || missing.empty()) {
    return;
  }
  settings.displayNoServicesDbox = !UnavailableServicesDialog(missing);
  settings.Save();
}
