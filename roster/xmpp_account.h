// MJabberService: the user's XMPP account ("Service0", type "jud"): server, user name, password
// and resource in the registry ("JABBERTR.*"), the setup dialog 118 and the add-user dialog 117.
// The values live in storage shared by the class and locked, because the setup dialog runs on
// the user-interface thread while the login thread reads them through the getters.
#pragma once

#include <cstdint>

#include "base/settings/jabber_service.h"

// The server used until the user names one: the project's own service domain.
constexpr const WCHAR* kDefaultJabberServer = u"orvik.im";

class MJabberService : public IJabberService {
 public:
  MJabberService();

  wmstring GetName() override;
  wmstring GetType() override;
  // Runs dialog 118; on OK stores and saves the values (the resource too when it was edited).
  // Changed when the user name, password or server differs from before.
  void Setup(HWND parent) override;
  // Writes user name, password and server, stopping at the first failure (never the resource).
  bool Save() override;
  // Resets to the defaults, then reads user name, password, server and resource, stopping at
  // the first value that cannot be read.
  bool Load() override;
  // The getters read the registry again first.
  wmstring GetServer() override;
  wmstring GetUsername() override;
  wmstring GetPassword() override;
  wmstring GetResource();
  void SetServer(const wmstring& text) override;
  void SetUsername(const wmstring& text) override;
  void SetPassword(const wmstring& text) override;
  bool GetCreateAccount() override;
  void SetCreateAccount(bool create) override;
  bool TakeChanged() override;
  wmstring AddUserDialog(HWND parent) override;
  bool ValidateAddress(const wmstring& address, wmstring& message) override;

 private:
  std::uint8_t changed_ = 0;
};
