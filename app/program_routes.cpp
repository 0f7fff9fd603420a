#include "app/program_routes.h"

#include "alerts/cap_alert_wnd.h"
#include "app/app.h"
#include "app/app_messages.h"
#include "app/jabber_wnd.h"
#include "app/login_wnd.h"
#include "app/setup_dialogs.h"
#include "app/unavailable_services.h"
#include "location/fix_indicator.h"
#include "location/location_thread.h"
#include "location/serial_reader.h"
#include "platform/menu.h"
#include "roster/service_accounts.h"
#include "ui/account_dialogs.h"
#include "ui/active_chats_wnd.h"
#include "ui/chat_wnd.h"
#include "ui/muc_roster_wnd.h"
#include "ui/roster_wnd.h"
#include "xml/text_convert.h"
#include "xmpp/iq_tracking.h"
#include "xmpp/operations.h"
#include "xmpp/session_loop.h"
#include "xmpp/session_messages.h"

namespace {

// The fix indicator may change on the serial reader's and the location thread's side: the
// menu bar is the user-interface thread's, so the change is posted to the main frame.
void PostGpsFix(bool fix) {
  MApp* app = App();
  if (app != nullptr && app->mainFrame != nullptr) {
    PostMessage(app->mainFrame->GetHwnd(), UM_GPS_FIX, fix ? 1 : 0, 0);
  }
}

}  // namespace

MProgramRoutes::MProgramRoutes(MApp* app)
    : app_(app),
      login_(app),
      rosterLink_(app),
      dispatcher_(app, &login_, &rosterLink_),
      host_(app, &dispatcher_, &rosterLink_),
      contactActions_(app),
      notifications_([app] { return app->mainFrame ? app->mainFrame->GetHwnd() : nullptr; }),
      notifier_([app]() -> const SettingsValues* { return app->settings.get(); }, &notifications_),
      chatOperations_(app),
      nmeaReader_(host_),
      location_(app, &dispatcher_.Conversations()) {
  SetFixIndicator(PostGpsFix);
  dispatcher_.SetNotifier(&notifier_);
  host_.SetLocationRoutes(&location_);
  SetContactLocation(&location_);
  // "Chat" on a popup: the conversation with the popup's address becomes current and shows.
  notifications_.SetChatCallback([this](const mstring& jid, const mstring& resource) {
    conversations().ShowConversation(jid, resource);
  });
}

// The headlines viewer lives with the routes: it leaves the window list before it goes.
MProgramRoutes::~MProgramRoutes() {
  if (headlineWindow_ != nullptr) {
    dispatcher_.Headlines().SetViewer(nullptr);
    app_->windows.Remove(headlineWindow_.get());
  }
}

void MProgramRoutes::CreateServiceAccounts() {
  InstallAccountDialogs();
  ::CreateServiceAccounts(*app_->settings);
}

void MProgramRoutes::CreateSession() {
  app_->session = session_new(&host_);
}

void MProgramRoutes::RosterAddItem(LPARAM item) {
  rosterLink_.HandleMessage(UM_ROSTER_ADD_ITEM, 0, item);
}
void MProgramRoutes::RosterRemoveItem(LPARAM item) {
  rosterLink_.HandleMessage(UM_ROSTER_REMOVE_ITEM, 0, item);
}
void MProgramRoutes::RosterAddGroup(LPARAM group) {
  rosterLink_.HandleMessage(UM_ROSTER_ADD_GROUP, 0, group);
}
void MProgramRoutes::RosterUpdateItem(LPARAM item) {
  rosterLink_.HandleMessage(UM_ROSTER_UPDATE_ITEM, 0, item);
}
void MProgramRoutes::RosterPresence(LPARAM item) {
  mstring jid = item != 0 ? reinterpret_cast<RosterItem*>(item)->jid : mstring();
  rosterLink_.HandleMessage(UM_ROSTER_PRESENCE, 0, item);
  // An open conversation's entry shows the contact's new presence.
  if (!jid.empty() && app_->activeChatsWindow != nullptr) {
    app_->activeChatsWindow->UpdateChat(app_->roster->GetItem(jid.c_str(), ""));
  }
}
void MProgramRoutes::RosterAddService(LPARAM entry) {
  rosterLink_.HandleMessage(UM_ROSTER_ADD_SERVICE, 0, entry);
}

void MProgramRoutes::CreateWindows() {
  app_->loginWindow = std::make_unique<MLoginWnd>(app_->instance, &app_->windows,
                                                  app_->settings->GetFont("JLOGINWND"));
  app_->loginWindow->Create(app_->mainFrame.get());
  app_->chatWindow = std::make_unique<MChatWnd>(
      app_->instance, &app_->windows, app_->settings->GetFont("JCHATWNDCLASS"), *app_->settings);
  app_->chatWindow->Create(app_->mainFrame.get());
  app_->chatWindow->SetActions(&chatOperations_);
  app_->rosterWindow = std::make_unique<MRosterWnd>(app_->instance, &app_->windows,
                                                    app_->settings->GetFont("JROSTERWND"),
                                                    *app_->settings, *app_->roster);
  app_->rosterWindow->Create(app_->mainFrame.get());
  app_->rosterWindow->SetActions(&contactActions_);
  app_->roster->SetView(app_->rosterWindow.get());
  app_->activeChatsWindow = std::make_unique<MActiveChatsWnd>(
      app_->instance, &app_->windows, app_->settings->GetFont("JACTIVECHATSWND"), *app_->settings);
  app_->activeChatsWindow->Create(app_->mainFrame.get());
  app_->activeChatsWindow->SetChatWindow(app_->chatWindow.get());
  app_->activeChatsWindow->SetRosterActions(&contactActions_);
  app_->chatWindow->SetActiveChats(app_->activeChatsWindow.get());
  app_->mucRosterWindow = std::make_unique<MMUCRosterWnd>(app_->instance, &app_->windows,
                                                          app_->settings->GetFont("JMUCROSTERWND"));
  app_->mucRosterWindow->Create(app_->mainFrame.get(), 0, 0);
  headlineWindow_ = std::make_unique<MHeadlineWnd>(app_->instance, &app_->windows,
                                                   app_->settings->GetFont("JHEADLINEWND"));
  headlineWindow_->Create(app_->mainFrame.get(), 0, 0);
  dispatcher_.Headlines().SetViewer(headlineWindow_.get());
  app_->capAlertWindow = std::make_unique<MCapAlertWnd>(app_->instance, &app_->windows,
                                                        app_->settings->GetFont("JCAPALERTWND"));
  app_->capAlertWindow->Create(app_->mainFrame.get(), 0, 0);
}

// Option cw, an "xmpp:" link, a contact's Chat: the conversation comes forward.
void MProgramRoutes::OpenConversation(const mstring& jid) {
  std::uint32_t slash = jid.find('/');
  mstring resource = slash == mstring::npos ? mstring() : jid.substr(slash + 1);
  conversations().ShowConversation(jid.substr(0, slash), resource);
}

void MProgramRoutes::ShowActiveChatsWindow() {
  if (app_->activeChatsWindow != nullptr) {
    app_->activeChatsWindow->Show();
  }
}

void MProgramRoutes::ShowHeadlinesWindow() {
  if (headlineWindow_ != nullptr) {
    headlineWindow_->Show();
  }
}

void MProgramRoutes::CloseAllChats() {
  if (app_->chatWindow != nullptr) {
    app_->chatWindow->CloseAllChats();
  }
  if (app_->activeChatsWindow != nullptr) {
    app_->activeChatsWindow->Reset();
  }
}

void MProgramRoutes::JoinRoomDialog() {
  ::JoinRoomDialog(&chatOperations_);
}

// "LBS Setup" from the menu or from the advanced setup dialog (`owner`). Confirmed, it starts or
// stops the location thread; from the advanced setup the position is published at once.
void MProgramRoutes::LocationSetupDialog(HWND owner) {
  if (!LbsSetupDialog(host_, owner)) {
    return;
  }
  const MSettings& settings = *app_->settings;
  if (settings.locationSupport) {
    StartLocation();
  } else {
    StopLocation();
  }
  if (owner != nullptr && settings.locationSupport && !settings.lbsJid.empty() && IsConnected()) {
    publish_location(app_->session, settings.lbsJid.c_str());
  }
}

void MProgramRoutes::ShowRoomParticipants() {
  MChatWnd* chat = app_->chatWindow.get();
  ChatRecord* current = chat != nullptr ? chat->CurrentChat() : nullptr;
  if (current == nullptr || current->type != kChatConference || app_->mucRosterWindow == nullptr) {
    return;
  }
  app_->mucRosterWindow->ShowParticipants(*current);
  app_->mucRosterWindow->Show();
}

void MProgramRoutes::ShowMyLocation() {
  location_.ShowMyLocation();
}
void MProgramRoutes::CalculateRoute() {
  location_.CalculateRoute();
}
void MProgramRoutes::StartLocation() {
  location_.StartThread(host_);
}
void MProgramRoutes::StopLocation() {
  location_.StopThread();
}

void MProgramRoutes::ShowRosterWindow() {
  if (app_->rosterWindow != nullptr) {
    app_->rosterWindow->Show();
  }
}

void MProgramRoutes::ResetRosterWindow() {
  if (app_->rosterWindow != nullptr) {
    app_->rosterWindow->Reset();
  }
}

void MProgramRoutes::ToggleOnlyOnline() {
  if (app_->rosterWindow != nullptr) {
    app_->rosterWindow->ToggleOnlyOnline();
  }
}

void MProgramRoutes::ClearRoster() {
  app_->roster->Clear();
}

bool MProgramRoutes::ShowLoginWindow() {
  if (app_->loginWindow == nullptr) {
    return false;
  }
  app_->loginWindow->Show();
  return true;
}

bool MProgramRoutes::LoginWindowIsTop() {
  return app_->loginWindow != nullptr && app_->loginWindow->IsTopWindow();
}

void MProgramRoutes::AboutDialog() {
  ::AboutDialog();
}
void MProgramRoutes::PreferencesDialog() {
  ::PreferencesDialog();
}
void MProgramRoutes::ProxyDialog() {
  ::ProxyDialog();
}
void MProgramRoutes::FontsDialog() {
  ::FontsDialog();
}
void MProgramRoutes::BroadcastDialog() {
  ::BroadcastDialog();
}
void MProgramRoutes::RunSetupWizard() {
  ::RunSetupWizard();
}
void MProgramRoutes::ClosePopup(LPARAM id) {
  notifications_.CloseNotification(static_cast<DWORD>(id));
}
void MProgramRoutes::OpenPopupChat(LPARAM id) {
  notifications_.ChatFromNotification(static_cast<DWORD>(id));
}

void MProgramRoutes::SessionReceived(LPARAM text) {
  // The receive loop owns the text and waits until it has been parsed.
  session_receive(app_->session, reinterpret_cast<const char*>(text));
}

void MProgramRoutes::SerialData(LPARAM chunk) {
  if (chunk != 0) {
    nmeaReader_.ProcessNmea(reinterpret_cast<const char*>(chunk));
    FreeSerialChunk(chunk);
  }
}

void MProgramRoutes::SessionKeepalive(LPARAM text) {
  session_keepalive(app_->session, reinterpret_cast<const char*>(text));
}

void MProgramRoutes::SessionStateChanged(UINT message) {
  if (message == UM_LOGGED_IN) {
    rosterLink_.NewSession();
  }
  login_.OnConnectionStateChanged();
}

bool MProgramRoutes::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == UM_GPS_FIX) {
    MenuBarEnableButton(app_->mainFrame->GetMenuBar(), 113, wParam != 0 ? TRUE : FALSE);
    return true;
  }
  if (message == UM_LOG_REDRAW) {
    host_.RedrawLog();
    return true;
  }
  if (message == WM_TIMER && wParam == POST_LOGIN_TIMER_ID) {
    PostLoginCheck();
    return true;
  }
  if (message == WM_TIMER && notifications_.HandleTimer(wParam)) {
    return true;
  }
  if (message == WM_DESTROY && g_exiting.load()) {
    // The frame goes at exit: no popup (nor its desktop copy) outlives the program.
    notifications_.CloseAllNotifications();
    return false;  // the frame's own handling goes on
  }
  return login_.HandleMessage(message, wParam, lParam) ||
         rosterLink_.HandleMessage(message, wParam, lParam);
}

// 25 seconds after a login the user asked for: tell them which of their gateway accounts
// this server does not serve.
void MProgramRoutes::PostLoginCheck() {
  KillTimer(app_->mainFrame->GetHwnd(), POST_LOGIN_TIMER_ID);
  if (IsConnected()) {
    CheckUnavailableServices(*app_->settings, app_->roster->Services());
  }
}

bool MProgramRoutes::HasSession() {
  return app_->session != nullptr;
}
bool MProgramRoutes::IsConnected() {
  return login_.IsConnected();
}
void MProgramRoutes::Login(bool interactive) {
  login_.Login(interactive);
}
void MProgramRoutes::Logout() {
  login_.Logout();
}
void MProgramRoutes::LogOff() {
  login_.LogOff();
}
void MProgramRoutes::Relogin() {
  login_.Relogin();
}
void MProgramRoutes::SetStatus(UINT command) {
  login_.SetStatus(command, true);
}

void MProgramRoutes::GatewaySetup(const WCHAR* type) {
  IJabberService* account = app_->settings->FindServiceAccount(type);
  if (account == nullptr) {
    return;  // no such account: "Connect..." does nothing
  }
  account->Setup(app_->mainFrame->GetHwnd());
  RegisterWithGateway(account);
}

// The gateway of the account's type, when the server announced one, is asked for its
// registration form; the engine fills the form from the account when it arrives.
void MProgramRoutes::RegisterWithGateway(IJabberService* account) {
  if (account == nullptr || !IsConnected()) {
    return;
  }
  mstring type = wide_to_utf8(account->GetType());
  AgentEntry gateway = app_->roster->FindServiceByType(type.c_str());
  if (!gateway.jid.empty()) {
    request_register_form(app_->session, gateway.jid.c_str());
  }
}
