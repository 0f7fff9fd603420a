// MAppRoutes: where the main frame sends the work whose components come with later parts of
// the program (the session engine, the roster model and window, the chat, login, dialogs,
// location, notifications, gateway accounts). Each operation does nothing here; the part that
// brings a component overrides its operations and installs itself with MApp::SetRoutes.
// Payloads handed over in lParam are heap objects the implementation takes and frees.
#pragma once

#include "base/settings/jabber_service.h"
#include "platform/window.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

class MAppRoutes {
 public:
  virtual ~MAppRoutes() = default;

  // Messages from worker threads (their payload belongs to the implementation).
  virtual void RosterAddItem(LPARAM) {}
  virtual void RosterRemoveItem(LPARAM) {}
  virtual void RosterAddGroup(LPARAM) {}
  virtual void RosterUpdateItem(LPARAM) {}
  virtual void RosterPresence(LPARAM) {}
  virtual void RosterAddService(LPARAM) {}
  virtual void SessionReceived(LPARAM) {}
  virtual void SessionKeepalive(LPARAM) {}
  virtual void SerialData(LPARAM) {}
  virtual void SessionStateChanged(UINT) {}  // UM_LOGGED_IN or UM_SESSION_ENDED
  // The program's own messages (login thread, post-login timer); true when handled.
  virtual bool HandleMessage(UINT, WPARAM, LPARAM) { return false; }

  // Login, logout and presence.
  virtual bool HasSession() { return false; }
  // Whether the session is online.
  virtual bool IsConnected() { return false; }
  virtual void Login(bool) {}
  // Logs out and starts a new login once the running session has ended (the XMPP account
  // changed in a dialog); a plain login when nothing runs.
  virtual void Relogin() {}
  // Sends the gateway of this account's type a registration request, when the server has
  // announced one (the form is filled from the account when it arrives).
  virtual void RegisterWithGateway(IJabberService*) {}
  virtual void Logout() {}
  // Log Off: automatic login off, log out, the disconnected handling.
  virtual void LogOff() {}
  virtual void SetStatus(UINT) {}

  // Windows and dialogs.
  virtual bool ShowLoginWindow() { return false; }  // false: there is no login window yet
  virtual bool LoginWindowIsTop() { return false; }
  virtual void ResetRosterWindow() {}
  virtual void ClearRoster() {}
  virtual void CloseAllChats() {}
  virtual void JoinRoomDialog() {}
  // The occupants of the current conversation's room.
  virtual void ShowRoomParticipants() {}
  virtual void ShowRosterWindow() {}
  virtual void ShowActiveChatsWindow() {}
  virtual void ShowHeadlinesWindow() {}
  virtual void ToggleOnlyOnline() {}
  virtual void AboutDialog() {}
  virtual void PreferencesDialog() {}
  virtual void ProxyDialog() {}
  virtual void FontsDialog() {}
  virtual void BroadcastDialog() {}
  virtual void RunSetupWizard() {}
  // "LBS Setup"; `owner` is the dialog that opens it (the main frame when null).
  virtual void LocationSetupDialog(HWND /*owner*/ = nullptr) {}
  virtual void ShowMyLocation() {}
  // "Calculate Route": the two route dialogs, then the request.
  virtual void CalculateRoute() {}
  // The notification popup's "Close" and "Chat" commands; `id` is the popup's id.
  virtual void ClosePopup(LPARAM /*id*/) {}
  virtual void OpenPopupChat(LPARAM /*id*/) {}
  // "Connect..." of a gateway: the account of that type runs its setup and registers.
  virtual void GatewaySetup(const WCHAR*) {}
  // Option cw: open a conversation with the JID and show the chat window.
  virtual void OpenConversation(const mstring&) {}

  // Start-up steps of later components.
  virtual void CreateServiceAccounts() {}
  virtual void CreateSession() {}
  virtual void CreateWindows() {}
  virtual void StartLocation() {}
  // At exit, before the worker threads are waited for.
  virtual void StopLocation() {}
  virtual void StartBanner() {}
};
