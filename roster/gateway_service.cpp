#include "roster/gateway_service.h"

#include "roster/account_dialogs.h"
#include "roster/account_registry.h"

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

const GatewayInfo kMsn{u"MSN Messenger Service",
                       u"msn",
                       "MSNTR.USERNAME",
                       "MSNTR.PASSWORD",
                       129,
                       u"Setup your MSN Login",
                       128,
                       u"Add MSN User",
                       MsnAddressAccepted,
                       u"Please enter a valid address. Addresses must be in the form "
                       u"\"username@domain\""};
const GatewayInfo kYahoo{u"Yahoo! Messenger Service",
                         u"yahoo",
                         "YAHOOTR.USERNAME",
                         "YAHOOTR.PASSWORD",
                         123,
                         u"Setup your Yahoo! Login",
                         130,
                         u"Add Yahoo! Messenger User",
                         YahooAddressAccepted,
                         u"Please enter a valid address. Addresses must be in the form "
                         u"\"username\""};
const GatewayInfo kIcq{u"ICQ Service",
                       u"icq",
                       "ICQTR.USERNAME",
                       "ICQTR.PASSWORD",
                       127,
                       u"Setup your ICQ Login",
                       126,
                       u"Add ICQ User",
                       IcqAddressAccepted,
                       u"Please enter a valid address. Addresses must be in the form \"ICQ#\""};
const GatewayInfo kAim{u"AIM Service",
                       u"aim",
                       "AIMTR.USERNAME",
                       "AIMTR.PASSWORD",
                       125,
                       u"Setup your AIM Login",
                       124,
                       u"Add AIM User",
                       AimAddressAccepted,
                       u"Please enter a valid address. Addresses must be in the form "
                       u"\"screenname\""};

// One account per network, shared by every object of its class.
template <const GatewayInfo* Info>
GatewayAccount& AccountOf() {
  static GatewayAccount account;
  return account;
}

constexpr int kAddUserEdit = 131;

}  // namespace

MGatewayService::MGatewayService(const GatewayInfo& info, GatewayAccount& account)
    : info_(info), account_(account) {
  Load();
}

bool MGatewayService::Load() {
  Guard guard(account_.lock);
  account_.username = u"";
  account_.password = u"";
  return ReadAccountValues(
      {{info_.usernameValue, &account_.username}, {info_.passwordValue, &account_.password}});
}

bool MGatewayService::Save() {
  Guard guard(account_.lock);
  return WriteAccountValues(
      {{info_.usernameValue, &account_.username}, {info_.passwordValue, &account_.password}});
}

void MGatewayService::Setup(HWND parent) {
  IAccountDialogs* dialogs = AccountDialogs();
  if (!dialogs) {
    return;
  }
  wmstring user;
  wmstring password;
  {
    Guard guard(account_.lock);
    user = account_.username;
    password = account_.password;
  }
  if (!dialogs->RunGatewaySetup(parent, info_.setupDialog, info_.setupCaption, user, password)) {
    return;
  }
  Guard guard(account_.lock);
  account_.username = AccountText(user);
  account_.password = AccountText(password);
  Save();
  changed_ = 1;
}

wmstring MGatewayService::GetUsername() {
  Guard guard(account_.lock);
  Load();
  return account_.username;
}

wmstring MGatewayService::GetPassword() {
  Guard guard(account_.lock);
  Load();
  return account_.password;
}

bool MGatewayService::TakeChanged() {
  bool changed = changed_ != 0;
  changed_ = 0;
  return changed;
}

wmstring MGatewayService::AddUserDialog(HWND parent) {
  IAccountDialogs* dialogs = AccountDialogs();
  wmstring address;
  if (!dialogs || !dialogs->RunAddUser(parent, info_.addUserDialog, info_.addUserCaption,
                                       kAddUserEdit, address)) {
    return wmstring();
  }
  Guard guard(account_.lock);
  account_.addAddress = AccountText(address);
  return account_.addAddress;
}

bool MGatewayService::ValidateAddress(const wmstring& address, wmstring& message) {
  return CheckAddress(address, info_.rule, info_.invalidAddress, message);
}

MMSNService::MMSNService() : MGatewayService(kMsn, AccountOf<&kMsn>()) {}

wmstring MMSNService::AddUserDialog(HWND parent) {
  wmstring address = MGatewayService::AddUserDialog(parent);
  std::uint32_t at = address.find(u'@');
  if (at != wmstring::npos) {
    address.replace(at, 1, u"%");
  }
  return address;
}

MYahooService::MYahooService() : MGatewayService(kYahoo, AccountOf<&kYahoo>()) {}

MICQService::MICQService() : MGatewayService(kIcq, AccountOf<&kIcq>()) {}

MAimService::MAimService() : MGatewayService(kAim, AccountOf<&kAim>()) {}
