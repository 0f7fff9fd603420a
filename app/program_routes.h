// MProgramRoutes: the program's components wired behind the main frame's messages and
// commands: the login control, the session engine with its host, the dispatcher and the
// roster link. main() installs it before start-up; tests may install their own routes.
#pragma once

#include <memory>

#include "alerts/headline_wnd.h"
#include "app/app_host.h"
#include "app/app_routes.h"
#include "app/chat_operations.h"
#include "app/contact_actions.h"
#include "app/desktop_notifier.h"
#include "app/dispatcher.h"
#include "app/location_routes.h"
#include "app/login_control.h"
#include "app/notifications.h"
#include "app/roster_link.h"
#include "location/gps.h"

class MApp;

class MProgramRoutes : public MAppRoutes {
 public:
  explicit MProgramRoutes(MApp* app);
  ~MProgramRoutes() override;

  MLoginControl& login() { return login_; }
  MRosterLink& rosterLink() { return rosterLink_; }
  MAppHost& host() { return host_; }
  MDispatcher& dispatcher() { return dispatcher_; }
  MNotificationManager& notifications() { return notifications_; }
  MConversations& conversations() { return dispatcher_.Conversations(); }
  MChatOperations& chatOperations() { return chatOperations_; }

  void RosterAddItem(LPARAM item) override;
  void RosterRemoveItem(LPARAM item) override;
  void RosterAddGroup(LPARAM group) override;
  void RosterUpdateItem(LPARAM item) override;
  void RosterPresence(LPARAM item) override;
  void RosterAddService(LPARAM entry) override;
  void SessionReceived(LPARAM text) override;
  void SessionKeepalive(LPARAM text) override;
  void SerialData(LPARAM chunk) override;
  void SessionStateChanged(UINT message) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  bool HasSession() override;
  bool IsConnected() override;
  void Login(bool interactive) override;
  void Logout() override;
  void LogOff() override;
  void Relogin() override;
  void SetStatus(UINT command) override;
  void GatewaySetup(const WCHAR* type) override;
  void RegisterWithGateway(IJabberService* account) override;

  void ClearRoster() override;
  bool ShowLoginWindow() override;
  bool LoginWindowIsTop() override;
  void ShowRosterWindow() override;
  void ResetRosterWindow() override;
  void ToggleOnlyOnline() override;
  void AboutDialog() override;
  void PreferencesDialog() override;
  void ProxyDialog() override;
  void FontsDialog() override;
  void BroadcastDialog() override;
  void RunSetupWizard() override;
  void ClosePopup(LPARAM id) override;
  void OpenPopupChat(LPARAM id) override;
  void OpenConversation(const mstring& jid) override;
  void ShowActiveChatsWindow() override;
  void ShowHeadlinesWindow() override;
  MHeadlineWnd* headlineWindow() { return headlineWindow_.get(); }
  void CloseAllChats() override;
  void JoinRoomDialog() override;
  void LocationSetupDialog(HWND owner) override;
  void ShowRoomParticipants() override;
  void ShowMyLocation() override;
  void CalculateRoute() override;
  void StartLocation() override;
  void StopLocation() override;
  MLocationRoutes& location() { return location_; }

  void CreateServiceAccounts() override;
  void CreateSession() override;
  void CreateWindows() override;

 private:
  void PostLoginCheck();

  MApp* app_;
  MLoginControl login_;
  MRosterLink rosterLink_;
  MDispatcher dispatcher_;
  MAppHost host_;
  MContactActions contactActions_;
  MNotificationManager notifications_;
  MDesktopNotifier notifier_;
  MChatOperations chatOperations_;
  MNmeaReader nmeaReader_;  // the receiver's text, on the user-interface thread
  MLocationRoutes location_;
  std::unique_ptr<MHeadlineWnd> headlineWindow_;
};
