// The setup and add-user dialogs of the service accounts, as a narrow interface: the accounts
// live below the window layer, which installs the real dialogs at start-up. Without an
// installed implementation (headless runs, unit tests) the dialogs do nothing.
#pragma once

#include <functional>

#include "platform/message_queue.h"
#include "xml/wmstring.h"

// What the XMPP account's setup dialog edits. The resource has an edit too, so that a resource
// the check refuses can be mended (the dialog closes only when the check passes).
struct JabberSetupFields {
  wmstring server;
  wmstring username;
  wmstring password;
  wmstring resource;
  bool createAccount = false;
};

// The outcome of the setup check: ok, or the message and caption to show.
struct JabberSetupCheck {
  bool ok = true;
  const WCHAR* text = u"";
  const WCHAR* caption = u"";
};

using JabberSetupChecker = std::function<JabberSetupCheck(JabberSetupFields&)>;

class IAccountDialogs {
 public:
  virtual ~IAccountDialogs() = default;
  // Dialog 118, filled from `fields`; OK runs `check` on the typed values and closes the
  // dialog only when it passes (a failure is shown with its caption). True when confirmed.
  virtual bool RunJabberSetup(HWND parent, JabberSetupFields& fields,
                              const JabberSetupChecker& check) = 0;
  // A gateway's setup dialog (edits 131 user name, 132 password). True when confirmed.
  virtual bool RunGatewaySetup(HWND parent, int dialogId, const WCHAR* caption, wmstring& user,
                               wmstring& password) = 0;
  // An add-user dialog with one edit. True when confirmed; `address` is what was typed.
  virtual bool RunAddUser(HWND parent, int dialogId, const WCHAR* caption, int editId,
                          wmstring& address) = 0;
};

// The installed dialogs (null: none). The caller keeps the object alive.
void SetAccountDialogs(IAccountDialogs* dialogs);
IAccountDialogs* AccountDialogs();
