#include "app/login_control.h"

#include "app/app.h"
#include "app/app_messages.h"
#include "app/jabber_wnd.h"
#include "app/server_address.h"
#include "ui/frame_link.h"
#include "xml/text_convert.h"
#include "xmpp/operations.h"
#include "xmpp/session_loop.h"

namespace {

constexpr const char* kInvalidAccount = "Please enter a valid servername and username.";
constexpr std::uint32_t kTextLimit = 255;

struct StatusRow {
  UINT command;
  const char* status;
  const char* show;
};

constexpr StatusRow kStatusTable[] = {{40034, "", "available"},
                                      {40035, "Busy", "dnd"},
                                      {40036, "Away", "away"},
                                      {40037, "Be right back", "away"},
                                      {40062, "In a meeting", "dnd"}};

StatusRow StatusOf(UINT command) {
  for (const StatusRow& row : kStatusTable) {
    if (row.command == command) {
      return row;
    }
  }
  return {command, "", "available"};
}

mstring Narrow(const wmstring& text) {
  mstring narrow = wide_to_utf8(text);
  narrow.truncate(kTextLimit);
  return narrow;
}

// Why the login thread stops: the account lacks a server or user name, or the first attempt
// the user asked for could not connect.
enum LoginStop : WPARAM { kStopInvalidAccount = 0, kStopConnectFailed = 1 };

}  // namespace

LoginTarget ParseLoginServer(const mstring& server, bool encrypt) {
  LoginTarget target;
  int port = 0;
  target.valid = ValidServerAndPort(utf8_to_wide(server.c_str()), &port);
  std::uint32_t colon = server.find(':');
  target.host = colon == mstring::npos ? server : server.substr(0, colon);
  if (target.valid) {
    target.port = port != 0 ? port : (encrypt ? 5223 : 5222);
  }
  return target;
}

MLoginControl::MLoginControl(MApp* app) : app_(app) {}

bool MLoginControl::IsConnected() const {
  MJabberSession* session = app_->session;
  return session != nullptr && session->state == SESSION_ONLINE && connection_alive(session);
}

void MLoginControl::PostToFrame(UINT message, WPARAM wParam, LPARAM lParam) {
  PostMessage(app_->mainFrame->GetHwnd(), message, wParam, lParam);
}

void MLoginControl::UpdateMenu() {
  MJabberSession* session = app_->session;
  bool encrypted = session != nullptr && session->conn != nullptr && session->conn->tls != nullptr;
  int state = session != nullptr ? session->state.load() : SESSION_OFF;
  PostToFrame(UM_UPDATE_MENU, static_cast<WPARAM>(state), encrypted ? 1 : 0);
}

bool MLoginControl::Login(bool interactive) {
  // Log On right after Log Off: the old attempt only has its stream to close and ends by
  // itself; refusing would leave the user with "Login already in progress" for nothing.
  if (loginThreadRunning_ && threadEnding_) {
    reloginPending_ = true;
    return true;
  }
  app_->loginMutex = app_->CreateAppMutex("ILOGINASYNCMUTEX", true);
  if (app_->loginMutex == nullptr) {
    app_->debugLog->Write("CANNOT CREATE LOGINASYNC MUTEX\n");
    return false;
  }
  // The mutex is recursive and the user-interface thread owns it from the first login on, so
  // it cannot tell a second login from the first: the running thread is what counts.
  DWORD waited = WaitForSingleObject(app_->loginMutex, INFINITE);
  if ((waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) || loginThreadRunning_) {
    app_->logWindow->AppendNarrow("<P>Login already in progress. Please wait..</P>");
    app_->logWindow->Redraw();
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
      app_->debugLog->Write("CANNOT GET LOGINASYNC MUTEX\n");
    }
    app_->CloseAppMutex(app_->loginMutex);
    return false;
  }
  app_->logWindow->AppendNarrow("<P>Connecting...</P>");
  app_->logWindow->Redraw();
  app_->routes().ResetRosterWindow();
  app_->loginRequested = interactive;
  loginThreadRunning_ = true;
  ++attempts_;
  HANDLE thread = CreateThread(LoginThread, this, nullptr);
  if (thread == nullptr) {
    loginThreadRunning_ = false;
    app_->logWindow->AppendNarrow("<P>Login failed.</P>");
    app_->CloseAppMutex(app_->loginMutex);
    return false;
  }
  app_->loginThread = thread;
  app_->RegisterThread(thread);
  return true;
}

DWORD MLoginControl::LoginThread(void* parameter) {
  auto* control = static_cast<MLoginControl*>(parameter);
  int result = control->LoginProcedure();
  control->PostToFrame(UM_LOGIN_THREAD_ENDED);
  return static_cast<DWORD>(result);
}

int MLoginControl::LoginProcedure() {
  if (app_->settings->FindServiceAccount(u"jud") == nullptr) {
    return -1;
  }
  bool connected = false;
  do {
    if (!LoginPass(&connected)) {
      break;
    }
  } while (app_->settings->loginOnStartup && !app_->shutdownEvent->IsSignalled());
  return connected ? 0 : -1;
}

// One attempt: connect, run the session until it ends, and wait before the next attempt when
// reconnecting at once would only repeat what just failed.
bool MLoginControl::LoginPass(bool* connected) {
  MJabberSession* session = app_->session;
  IJabberService* account = app_->settings->FindServiceAccount(u"jud");
  mstring server = Narrow(account->GetServer());
  mstring user = Narrow(account->GetUsername());
  mstring password = Narrow(account->GetPassword());
  LoginTarget target = ParseLoginServer(server, app_->settings->encryptSessions);
  if (user.empty() || !target.valid) {
    PostToFrame(UM_LOGIN_STOP, kStopInvalidAccount);
    return false;
  }
  bool createAccount = account->GetCreateAccount();
  app_->locationPublished = 0;
  app_->locationRequested = 0;
  PostToFrame(UM_UPDATE_MENU, kSessionConnecting, app_->settings->encryptSessions ? 1 : 0);
  int result = jab_connect(session, target.host.c_str(), user.c_str(), password.c_str(),
                           target.port, createAccount ? 1 : 0);
  *connected = result == 0;
  if (result != 0 && app_->loginRequested) {
    PostToFrame(UM_LOGIN_STOP, kStopConnectFailed);
    return false;
  }
  if (result != 0) {
    UpdateMenu();
    PauseBeforeReconnecting();
    return true;
  }
  UpdateMenu();
  session_run(session);
  app_->loginRequested = false;
  bool wasOnline = session->was_online;
  // The condition is written while a stanza is dispatched, under the dispatch lock.
  EnterCriticalSection(&session->dispatch_lock);
  bool streamError = !session->stream_error.empty();
  LeaveCriticalSection(&session->dispatch_lock);
  session_after_run(session);
  UpdateMenu();
  // Two copies of one account knock each other off with a stream error at each login, and a
  // server that refuses the session refuses it again: wait before trying once more.
  if (streamError || !wasOnline) {
    PauseBeforeReconnecting();
  }
  return true;
}

// Only while another attempt follows: a login that ends for good ends at once.
void MLoginControl::PauseBeforeReconnecting() {
  if (app_->settings->loginOnStartup) {
    app_->WaitForShutdown(app_->settings->checkConnectionPeriod);
  }
}

bool MLoginControl::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case UM_LOGIN_THREAD_ENDED:
      OnLoginThreadEnded();
      return true;
    case UM_LOGIN_STOP:
      app_->settings->SetLoginOnStartup(false);
      if (wParam == kStopInvalidAccount) {
        ShowAppMessage(nullptr, mb_to_wide(kInvalidAccount));
        Logout();
        OnConnectionStateChanged();
      } else {
        app_->routes().ShowLoginWindow();
      }
      return true;
    default:
      return false;
  }
}

void MLoginControl::OnLoginThreadEnded() {
  if (app_->loginThread != nullptr) {
    app_->UnregisterThread(app_->loginThread);
    app_->loginThread = nullptr;
  }
  app_->CloseAppMutex(app_->loginMutex);
  app_->loginMutex = nullptr;
  loginThreadRunning_ = false;
  threadEnding_ = false;
  if (reloginPending_) {
    reloginPending_ = false;
    app_->ShowLogWindow();
    Login(true);
  }
}

bool MLoginControl::Logout() {
  HANDLE mutex = app_->CreateAppMutex("LOGOUTMUTEX", true);
  if (mutex == nullptr) {
    return false;
  }
  DWORD waited = WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    app_->CloseAppMutex(mutex);
    return false;
  }
  app_->logWindow->AppendNarrow("<P>Disconnecting..please wait...</P>");
  app_->logWindow->Redraw();
  app_->loginRequested = false;
  if (app_->session != nullptr) {
    disconnect(app_->session);
  }
  // Without automatic login the login thread ends once its session has.
  threadEnding_ = loginThreadRunning_ && !app_->settings->loginOnStartup;
  PostToFrame(UM_UPDATE_MENU, kSessionOff, 0);
  app_->CloseAppMutex(mutex);
  return true;
}

void MLoginControl::OnConnectionStateChanged() {
  bool connected = IsConnected();
  if (!connected) {
    app_->logWindow->AppendNarrow("<P>Disconnected.</P>");
    app_->logWindow->Redraw();
    app_->locationPublished = 0;
    app_->locationRequested = 0;
    if (!app_->settings->loginOnStartup) {
      app_->routes().ResetRosterWindow();
      app_->routes().ClearRoster();
      app_->routes().ShowLoginWindow();
      app_->routes().CloseAllChats();
    }
  } else {
    app_->logWindow->AppendNarrow("<P>Connected.</P>");
    app_->logWindow->Redraw();
    if (app_->logWindow->IsTopWindow() || app_->routes().LoginWindowIsTop()) {
      app_->routes().ShowRosterWindow();
    }
  }
  UpdateMenu();
}

void MLoginControl::LogOff() {
  reloginPending_ = false;
  app_->settings->SetLoginOnStartup(false);
  Logout();
  OnConnectionStateChanged();
}

void MLoginControl::Relogin() {
  if (!loginThreadRunning_) {
    app_->ShowLogWindow();
    Login(true);
    return;
  }
  // With automatic login on, the running thread reconnects by itself with the new values.
  reloginPending_ = !app_->settings->loginOnStartup;
  Logout();
  app_->ShowLogWindow();
}

void MLoginControl::SetStatus(UINT command, bool send) {
  for (const StatusRow& row : kStatusTable) {
    FrameCheckMenuItem(row.command, MF_UNCHECKED);
  }
  StatusRow row = StatusOf(command);
  app_->statusCommand = command;
  app_->statusText = row.status;
  app_->presenceShow = row.show;
  FrameCheckMenuItem(command, MF_CHECKED);
  if (send && IsConnected()) {
    send_own_presence(app_->session, app_->statusText.c_str(), app_->presenceShow.c_str());
  }
}
