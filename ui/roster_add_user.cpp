#include "ui/roster_add_user.h"

#include "platform/message_box.h"
#include "ui/roster_dialogs.h"
#include "xml/text_convert.h"

namespace {

// One entry of the service combo: the XMPP account itself, or an announced service.
struct ServiceChoice {
  bool ownServer = false;
  AgentEntry agent;
};

std::vector<ServiceChoice> ServiceChoices(MSettings& settings, MJabberRoster& roster,
                                          std::vector<wmstring>* names) {
  std::vector<ServiceChoice> choices;
  if (IJabberService* jud = settings.FindServiceAccount(u"jud")) {
    choices.push_back(ServiceChoice{true, {}});
    names->push_back(jud->GetName());
  }
  for (const AgentEntry& agent : roster.Services()) {
    choices.push_back(ServiceChoice{false, agent});
    names->push_back(utf8_to_wide(agent.name));
  }
  return choices;
}

// The account that takes the address and the domain that completes it. A service without an
// account of its type (or the XMPP account itself) goes through the XMPP account and its server.
IJabberService* AccountFor(MSettings& settings, const ServiceChoice& choice, wmstring* domain) {
  if (!choice.ownServer) {
    if (IJabberService* account =
            settings.FindServiceAccount(utf8_to_wide(choice.agent.service).c_str())) {
      *domain = utf8_to_wide(choice.agent.jid);
      return account;
    }
  }
  IJabberService* jud = settings.FindServiceAccount(u"jud");
  if (jud != nullptr) {
    *domain = ServerDomain(jud->GetServer());
  }
  return jud;
}

}  // namespace

std::vector<wmstring> AddUserGroups(const std::list<RosterGroup>& groups, int* selection) {
  std::vector<wmstring> entries;
  for (const RosterGroup& group : groups) {
    if (!(group.name == kServicesGroup)) {
      entries.push_back(utf8_to_wide(group.name));
    }
  }
  wmstring contacts = utf8_to_wide(mstring(kContactsGroup));
  *selection = -1;
  for (std::size_t i = 0; i < entries.size() && *selection < 0; ++i) {
    if (entries[i] == contacts) {
      *selection = static_cast<int>(i);
    }
  }
  if (*selection < 0) {
    entries.push_back(contacts);
    *selection = static_cast<int>(entries.size()) - 1;
  }
  return entries;
}

wmstring ServerDomain(const wmstring& server) {
  std::uint32_t colon = server.find(u':');
  return colon == wmstring::npos ? server : server.substr(0, colon);
}

wmstring CompleteAddress(const wmstring& address, const wmstring& domain) {
  if (address.find(u'@') != wmstring::npos) {
    return address;
  }
  wmstring completed(address);
  completed += u"@";
  completed += domain;
  return completed;
}

bool RunAddUser(HWND owner, MSettings& settings, MJabberRoster& roster, AddUserRequest* request) {
  AddUserForm form;
  std::vector<ServiceChoice> choices = ServiceChoices(settings, roster, &form.services);
  form.groups = AddUserGroups(roster.CopyGroups(), &form.groupSelection);
  bool adding = false;
  auto confirm = [&](HWND dialog, AddUserForm& typed) {
    if (typed.service < 0 || typed.service >= static_cast<int>(choices.size())) {
      return true;  // nothing to add through
    }
    wmstring domain;
    IJabberService* account = AccountFor(settings, choices[typed.service], &domain);
    if (account == nullptr) {
      return true;
    }
    wmstring address = account->AddUserDialog(dialog);
    if (address.empty()) {
      return true;
    }
    wmstring message;
    if (!account->ValidateAddress(address, message)) {
      MessageBoxW(dialog, message.c_str(), u"Invalid Address",
                  MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
      return false;
    }
    request->jid = wide_to_utf8(CompleteAddress(address, domain));
    request->nickname = typed.nickname;
    request->group = typed.group.empty() ? utf8_to_wide(mstring(kContactsGroup)) : typed.group;
    adding = true;
    return true;
  };
  return RunAddUserDialog(owner, form, confirm) && adding;
}
