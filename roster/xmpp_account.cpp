#include "roster/xmpp_account.h"

#include <mutex>

#include "roster/account_dialogs.h"
#include "roster/account_registry.h"
#include "roster/address_rules.h"
#include "roster/jabber_setup_check.h"

namespace {

// The one XMPP account of the program, shared by every MJabberService object.
struct JabberAccount {
  std::recursive_mutex lock;
  wmstring server;
  wmstring username;
  wmstring password;
  wmstring resource;
  wmstring addAddress;
  bool createAccount = false;
};

JabberAccount& Account() {
  static JabberAccount account;
  return account;
}

using Guard = std::lock_guard<std::recursive_mutex>;

}  // namespace

MJabberService::MJabberService() {
  Load();
}

wmstring MJabberService::GetName() {
  return u"Jabber Service";
}

wmstring MJabberService::GetType() {
  return u"jud";
}

bool MJabberService::Load() {
  JabberAccount& account = Account();
  Guard guard(account.lock);
  account.username = u"";
  account.password = u"";
  account.server = kDefaultJabberServer;
  account.resource = kDefaultResource;
  return ReadAccountValues({{"JABBERTR.USERNAME", &account.username},
                            {"JABBERTR.PASSWORD", &account.password},
                            {"JABBERTR.SERVER", &account.server},
                            {"JABBERTR.RESOURCE", &account.resource}});
}

bool MJabberService::Save() {
  JabberAccount& account = Account();
  Guard guard(account.lock);
  return WriteAccountValues({{"JABBERTR.USERNAME", &account.username},
                             {"JABBERTR.PASSWORD", &account.password},
                             {"JABBERTR.SERVER", &account.server}});
}

void MJabberService::Setup(HWND parent) {
  IAccountDialogs* dialogs = AccountDialogs();
  if (!dialogs) {
    return;
  }
  JabberAccount& account = Account();
  JabberSetupFields fields;
  {
    Guard guard(account.lock);
    fields = JabberSetupFields{account.server, account.username, account.password, account.resource,
                               account.createAccount};
  }
  const JabberSetupFields before = fields;
  // The lock is not held while the dialog runs: the login thread may read meanwhile.
  if (dialogs->RunJabberSetup(parent, fields, CheckJabberSetup)) {
    Guard guard(account.lock);
    account.server = AccountText(fields.server);
    account.username = AccountText(fields.username);
    account.password = AccountText(fields.password);
    account.resource = AccountText(fields.resource);
    account.createAccount = fields.createAccount;
    Save();
    // Save() never writes the resource; one mended in the dialog is kept all the same, or
    // the next load would bring back the resource that the check refused.
    if (!(account.resource == before.resource)) {
      WriteAccountValues({{"JABBERTR.RESOURCE", &account.resource}});
    }
  }
  Guard guard(account.lock);
  changed_ = !(account.username == before.username) || !(account.password == before.password) ||
             !(account.server == before.server);
}

wmstring MJabberService::GetServer() {
  Guard guard(Account().lock);
  Load();
  return Account().server;
}

wmstring MJabberService::GetUsername() {
  Guard guard(Account().lock);
  Load();
  return Account().username;
}

wmstring MJabberService::GetPassword() {
  Guard guard(Account().lock);
  Load();
  return Account().password;
}

wmstring MJabberService::GetResource() {
  Guard guard(Account().lock);
  Load();
  return Account().resource;
}

void MJabberService::SetServer(const wmstring& text) {
  Guard guard(Account().lock);
  Account().server = AccountText(text);
}

void MJabberService::SetUsername(const wmstring& text) {
  Guard guard(Account().lock);
  Account().username = AccountText(text);
}

void MJabberService::SetPassword(const wmstring& text) {
  Guard guard(Account().lock);
  Account().password = AccountText(text);
}

bool MJabberService::GetCreateAccount() {
  Guard guard(Account().lock);
  return Account().createAccount;
}

void MJabberService::SetCreateAccount(bool create) {
  Guard guard(Account().lock);
  Account().createAccount = create;
}

bool MJabberService::TakeChanged() {
  bool changed = changed_ != 0;
  changed_ = 0;
  return changed;
}

wmstring MJabberService::AddUserDialog(HWND parent) {
  IAccountDialogs* dialogs = AccountDialogs();
  wmstring address;
  if (!dialogs || !dialogs->RunAddUser(parent, 117, u"Add Jabber User", 105, address)) {
    return wmstring();
  }
  Guard guard(Account().lock);
  Account().addAddress = AccountText(address);
  return Account().addAddress;
}

bool MJabberService::ValidateAddress(const wmstring& address, wmstring& message) {
  return CheckAddress(address, JabberAddressAccepted,
                      u"Please enter a valid address. Addresses must be in the form \"username\", "
                      u"or \"username@servername\"",
                      message);
}
