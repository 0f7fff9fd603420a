// The accounts the server's gateways use on the user's behalf: MMSNService ("Service1"),
// MYahooService ("Service2"), MICQService ("Service3") and MAimService ("Service4"). Each
// keeps a user name and password in the registry ("<NET>TR.USERNAME", "<NET>TR.PASSWORD"),
// in storage shared by its class and locked (the setup dialog and the login thread's getters).
#pragma once

#include <cstdint>
#include <mutex>

#include "base/settings/jabber_service.h"
#include "roster/address_rules.h"

struct GatewayAccount {
  std::recursive_mutex lock;
  wmstring username;
  wmstring password;
  wmstring addAddress;
};

// What differs between the gateway classes.
struct GatewayInfo {
  const WCHAR* name;
  const WCHAR* type;
  const char* usernameValue;
  const char* passwordValue;
  int setupDialog;
  const WCHAR* setupCaption;
  int addUserDialog;
  const WCHAR* addUserCaption;
  AddressRule rule;
  const WCHAR* invalidAddress;
};

class MGatewayService : public IJabberService {
 public:
  wmstring GetName() override { return info_.name; }
  wmstring GetType() override { return info_.type; }
  // Runs the setup dialog; on OK stores and saves both values and marks the account changed
  // (without comparing: the gateway is asked to register again).
  void Setup(HWND parent) override;
  bool Save() override;
  bool Load() override;
  wmstring GetServer() override { return wmstring(); }
  wmstring GetUsername() override;
  wmstring GetPassword() override;
  bool TakeChanged() override;
  wmstring AddUserDialog(HWND parent) override;
  bool ValidateAddress(const wmstring& address, wmstring& message) override;

 protected:
  MGatewayService(const GatewayInfo& info, GatewayAccount& account);

 private:
  const GatewayInfo& info_;
  GatewayAccount& account_;
  std::uint8_t changed_ = 0;
};

class MMSNService : public MGatewayService {
 public:
  MMSNService();
  // The first '@' typed becomes '%': the MSN gateway takes name%domain as the user part.
  wmstring AddUserDialog(HWND parent) override;
};

class MYahooService : public MGatewayService {
 public:
  MYahooService();
};

class MICQService : public MGatewayService {
 public:
  MICQService();
};

class MAimService : public MGatewayService {
 public:
  MAimService();
};
