// "Add User": which services and groups the dialog offers, and how the typed address becomes
// a contact's jid: the chosen service picks the account (its own address prompt and check),
// and an address without '@' is completed with the service's domain.
#pragma once

#include <list>
#include <vector>

#include "base/settings/settings.h"
#include "roster/jabber_roster.h"

// What the user asked for; the application subscribes and files the contact.
struct AddUserRequest {
  mstring jid;
  wmstring nickname;
  wmstring group;
};

// The group entries: the model's groups except "Services", then "Contacts" when no group of
// that name was listed (it is never offered twice). `selection` is the first "Contacts" entry.
std::vector<wmstring> AddUserGroups(const std::list<RosterGroup>& groups, int* selection);
// The host part of a server setting ("example.org:5222" -> "example.org").
wmstring ServerDomain(const wmstring& server);
// "%s@%s" of the address and the domain for an address without '@'; others as they are.
wmstring CompleteAddress(const wmstring& address, const wmstring& domain);

// Runs dialog 114 and, on OK, the chosen account's address prompt. A refused address shows
// the account's message with the caption "Invalid Address" and the dialog stays open. True
// with `request` filled when a contact is to be added; false when cancelled or the address
// was left empty.
bool RunAddUser(HWND owner, MSettings& settings, MJabberRoster& roster, AddUserRequest* request);
