#include "xmpp/headless_host.h"

#include <unistd.h>

#include <algorithm>

#include "xml/packet.h"
#include "xml/packet_lists.h"
#include "xmpp/session_loop.h"
#include "xmpp/session_messages.h"

namespace {

constexpr char kFrameClass[] = "JHEADLESSFRAME";
constexpr size_t kDispatchedKept = 10000;
constexpr int kRecheckMs = 10;

}  // namespace

HeadlessHost::HeadlessHost()
    : settings_(std::make_unique<MSettings>()),
      mutexes_(std::make_unique<MAppMutexes>(reinterpret_cast<std::uintptr_t>(this))),
      shutdown_(std::make_unique<MShutdownEvent>()),
      account_(new HeadlessJabberAccount) {
  debugLog_ = std::make_unique<MDebugLog>(*settings_, *mutexes_);
  settings_->AddServiceAccount(account_);
  RegisterClass(kFrameClass, FrameProc);
  frame_ = CreateWindowEx(kFrameClass, "orvik Messenger", HWND_MESSAGE, this);
  session_ = session_new(this);
}

HeadlessHost::~HeadlessHost() {
  shutdown_->Signal();
  if (session_->conn)
    jab_drop_socket(session_->conn);
  // The session may be freed only after the login thread has let go of it; its own network
  // time limits bound this wait.
  while (!WaitLoginThread(10000)) {
  }
  session_free(session_);
  if (frame_)
    DestroyWindow(frame_);
}

LRESULT HeadlessHost::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCT*>(lParam);
    SetWindowLongPtr(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return 0;
  }
  auto* host = reinterpret_cast<HeadlessHost*>(GetWindowLongPtr(window, GWL_USERDATA));
  if (!host)
    return DefWindowProc(window, message, wParam, lParam);
  return host->Handle(message, wParam, lParam);
}

LRESULT HeadlessHost::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case UM_SESSION_RECEIVED:
      session_receive(session_, reinterpret_cast<const char*>(lParam));
      return 0;
    case UM_SESSION_KEEPALIVE:
      ++keepalives_;
      session_keepalive(session_, reinterpret_cast<const char*>(lParam));
      return 0;
    case UM_LOGGED_IN:
      ++loggedIn_;
      return 0;
    case UM_SESSION_ENDED:
      ++sessionEnded_;
      return 0;
    case WM_TIMER:
      if (wParam == POST_LOGIN_TIMER_ID)
        KillTimer(frame_, POST_LOGIN_TIMER_ID);
      return 0;
    default:
      return DefWindowProc(frame_, message, wParam, lParam);
  }
}

DWORD HeadlessHost::LoginThread(void* parameter) {
  auto* host = static_cast<HeadlessHost*>(parameter);
  MJabberSession* session = host->session_;
  int result = jab_connect(session, host->server_.c_str(), host->user_.c_str(),
                           host->password_.c_str(), host->port_, host->createAccount_ ? 1 : 0);
  host->connect_result_ = result;
  if (result == 0) {
    session_run(session);
    host->loginRequested_ = false;
    session_after_run(session);
  }
  return static_cast<DWORD>(result);
}

bool HeadlessHost::StartLogin(const char* server, const char* user, const char* password, int port,
                              bool create_account) {
  if (loginThread_ && WaitForSingleObject(loginThread_, 0) == WAIT_TIMEOUT)
    return false;
  if (loginThread_)
    CloseHandle(loginThread_);
  server_ = server;
  user_ = user;
  password_ = password;
  port_ = port;
  createAccount_ = create_account;
  account_->createAccount = create_account;
  connect_result_ = -1;
  loginRequested_ = true;
  loginThread_ = CreateThread(LoginThread, this, nullptr);
  return loginThread_ != nullptr;
}

bool HeadlessHost::LoginThreadDone() {
  return !loginThread_ || WaitForSingleObject(loginThread_, 0) == WAIT_OBJECT_0;
}

bool HeadlessHost::WaitLoginThread(int timeout_ms) {
  return PumpUntil([this] { return LoginThreadDone(); }, timeout_ms);
}

bool HeadlessHost::PumpUntil(const std::function<bool()>& done, int timeout_ms) {
  return Pump(done, timeout_ms, kRecheckMs);
}

void HeadlessHost::PumpFor(int milliseconds) {
  Pump([] { return false; }, milliseconds, milliseconds);
}

// The timer wakes GetMessage for the next look at `done()` or for the end of the time.
bool HeadlessHost::Pump(const std::function<bool()>& done, int timeout_ms, int recheck_ms) {
  DWORD start = GetTickCount();
  DWORD timeout = static_cast<DWORD>(std::max(timeout_ms, 0));
  UINT_PTR timer = 0;
  bool finished = done();
  for (DWORD elapsed = 0; !finished && elapsed < timeout; elapsed = GetTickCount() - start) {
    UINT next = static_cast<UINT>(std::min<DWORD>(timeout - elapsed, std::max(recheck_ms, 1)));
    timer = SetTimer(nullptr, timer, next, nullptr);
    MSG message;
    if (GetMessage(&message, nullptr, 0, 0) <= 0)
      break;
    DispatchMessage(&message);
    finished = done();
  }
  if (timer)
    KillTimer(nullptr, timer);
  return finished;
}

void HeadlessHost::AppendLog(const char* html) {
  std::lock_guard<std::mutex> hold(lock_);
  log_.emplace_back(html);
}

void HeadlessHost::ClearLog() {
  std::lock_guard<std::mutex> hold(lock_);
  log_.clear();
}

void HeadlessHost::ShowMessageBox(const char* text, const char*) {
  std::lock_guard<std::mutex> hold(lock_);
  boxes_.emplace_back(text);
}

std::vector<std::string> HeadlessHost::LogLines() {
  std::lock_guard<std::mutex> hold(lock_);
  return log_;
}

bool HeadlessHost::HasLogLine(const std::string& line) {
  std::lock_guard<std::mutex> hold(lock_);
  for (const std::string& entry : log_) {
    if (entry == line)
      return true;
  }
  return false;
}

std::vector<std::string> HeadlessHost::MessageBoxes() {
  std::lock_guard<std::mutex> hold(lock_);
  return boxes_;
}

std::vector<std::string> HeadlessHost::Dispatched() {
  std::lock_guard<std::mutex> hold(lock_);
  return dispatched_;
}

void HeadlessHost::Logout() {
  ++logouts_;
  loginRequested_ = false;
  disconnect(session_);
}

void HeadlessHost::CurrentStatus(mstring* statusText, mstring* showText) {
  *statusText = status;
  *showText = show;
}

void HeadlessHost::DispatchPacket(packet* p) {
  ++dispatchedCount_;
  if (onDispatch)
    onDispatch(p);
  if (!recordPackets)
    return;
  std::lock_guard<std::mutex> hold(lock_);
  if (dispatched_.size() < kDispatchedKept) {
    const char* text = xml_node_to_string(p->x);
    dispatched_.emplace_back(text ? text : "");
  }
}

void HeadlessHost::RosterReceived(packet* query) {
  roster_item_rec* items = packet_roster_items(query);
  int count = 0;
  for (roster_item_rec* item = items; item; item = item->next)
    ++count;
  roster_item_list_free(items);
  rosterItems_ = count;
  ++rosterResults_;
}
