// The service accounts' setup and add-user dialogs, built from templates: 118 "Jabber Service
// Setup", the four gateway setups (129, 123, 127, 125) and the five add-user dialogs (117, 128,
// 130, 126, 124). They close only when confirmed; a refused XMPP setup shows the check's
// message with its caption and stays open.
#pragma once

#include "roster/account_dialogs.h"

class MAccountDialogs : public IAccountDialogs {
 public:
  bool RunJabberSetup(HWND parent, JabberSetupFields& fields,
                      const JabberSetupChecker& check) override;
  bool RunGatewaySetup(HWND parent, int dialogId, const WCHAR* caption, wmstring& user,
                       wmstring& password) override;
  bool RunAddUser(HWND parent, int dialogId, const WCHAR* caption, int editId,
                  wmstring& address) override;
};

// Installs the dialogs for the service accounts; called once at start-up.
void InstallAccountDialogs();

// Controls of dialog 118. The resource edit lets the user mend a resource that the check
// refuses: the dialog closes only when the check passes.
constexpr int IDC_JABBER_SERVER = 101;
constexpr int IDC_JABBER_USERNAME = 102;
constexpr int IDC_JABBER_PASSWORD = 103;
constexpr int IDC_JABBER_CREATE_ACCOUNT = 104;
constexpr int IDC_JABBER_RESOURCE = 106;
constexpr int IDC_GATEWAY_USERNAME = 131;
constexpr int IDC_GATEWAY_PASSWORD = 132;
