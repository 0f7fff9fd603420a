// A running application object for the login window and setup dialog tests: a temporary
// profile, the main frame with the log and login windows, accounts that record what the
// screens asked of them, routes that record the login operations, and a script that drives a
// modal dialog from inside its own message loop.
#pragma once

#include <sys/stat.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/jabber_wnd.h"
#include "app/login_wnd.h"
#include "app/setup_dialog_run.h"
#include "app/setup_dialogs.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "tests/platform_qt/display_support.h"
#include "tests/support/temp_home.h"
#include "xml/text_convert.h"

// One account of the user, standing in for the service account classes: it keeps the values
// set, records each setup it ran and can mark itself changed there.
class FakeAccount : public IJabberService {
 public:
  FakeAccount(const WCHAR* name, const WCHAR* type, std::vector<std::string>* log)
      : name_(name), type_(type), log_(log) {}
  wmstring GetName() override { return name_; }
  wmstring GetType() override { return type_; }
  void Setup(HWND) override {
    log_->push_back(std::string("Setup ") + wide_to_mb(type_.c_str()).c_str());
    changed = changeOnSetup;
  }
  bool Save() override {
    ++saves;
    return true;
  }
  bool Load() override { return true; }
  wmstring GetServer() override { return server; }
  wmstring GetUsername() override { return username; }
  wmstring GetPassword() override { return password; }
  void SetServer(const wmstring& text) override { server = text; }
  void SetUsername(const wmstring& text) override { username = text; }
  void SetPassword(const wmstring& text) override { password = text; }
  bool TakeChanged() override {
    bool was = changed;
    changed = false;
    return was;
  }
  wmstring AddUserDialog(HWND) override { return wmstring(); }
  bool ValidateAddress(const wmstring&, wmstring& message) override {
    message = wmstring();
    return true;
  }

  wmstring server, username, password;
  bool changed = false;
  bool changeOnSetup = false;
  int saves = 0;

 private:
  wmstring name_, type_;
  std::vector<std::string>* log_;
};

// Records the login operations the screens asked for.
class ScreenRoutes : public MAppRoutes {
 public:
  explicit ScreenRoutes(std::vector<std::string>* log) : log_(log) {}
  bool IsConnected() override { return connected; }
  void Login(bool) override { log_->push_back("Login"); }
  void Relogin() override { log_->push_back("Relogin"); }
  void RegisterWithGateway(IJabberService* account) override {
    log_->push_back(std::string("Register ") + wide_to_mb(account->GetType().c_str()).c_str());
  }
  bool connected = false;

 private:
  std::vector<std::string>* log_;
};

// One step of a dialog script: it gets the innermost setup dialog open when it runs.
using DialogStep = std::function<void(HWND dialog)>;

constexpr UINT kScriptStep = WM_USER + 500;

inline std::deque<DialogStep>& ScriptSteps() {
  static std::deque<DialogStep> steps;
  return steps;
}

// Runs one step; the next one is queued first, so that when this step opens a nested dialog
// the next one runs inside that dialog's loop.
inline LRESULT ScriptProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kScriptStep) {
    return DefWindowProc(window, message, wParam, lParam);
  }
  std::deque<DialogStep>& steps = ScriptSteps();
  if (steps.empty()) {
    return 0;
  }
  DialogStep step = steps.front();
  steps.pop_front();
  if (!steps.empty()) {
    PostMessage(window, kScriptStep, 0, 0);
  }
  step(OpenSetupDialog());
  return 0;
}

inline HWND ScriptWindow() {
  static HWND window = [] {
    static const WNDCLASS scriptClass{0,       ScriptProc, 0,       0,       nullptr,
                                      nullptr, nullptr,    nullptr, nullptr, u"JSCRIPTWND"};
    RegisterClassW(&scriptClass);
    return CreateWindowExW(0, u"JSCRIPTWND", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                           nullptr);
  }();
  return window;
}

class SetupScreensTest : public DisplayTest {
 protected:
  static void SetUpTestSuite() {
    DisplayTest::SetUpTestSuite();
    if (app != nullptr) {
      return;  // one application object per process, as in the program
    }
    home = std::make_unique<TempHome>();
    app = new MApp(reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(4711)), "");
    SetApp(app);
    SetMessageBoxAutoAnswer(IDOK);
    ASSERT_TRUE(app->Initialise());
    auto routes = std::make_unique<ScreenRoutes>(&log);
    routesPtr = routes.get();
    app->SetRoutes(std::move(routes));
    const WCHAR* accounts[][2] = {{u"Jabber Service", u"jud"},
                                  {u"MSN Messenger Service", u"msn"},
                                  {u"Yahoo! Messenger Service", u"yahoo"},
                                  {u"ICQ Service", u"icq"},
                                  {u"AIM Service", u"aim"}};
    for (auto& [name, type] : accounts) {
      app->settings->AddServiceAccount(new FakeAccount(name, type, &log));
    }
    login = new MLoginWnd(app->instance, &app->windows, app->settings->GetFont("JLOGINWND"));
    ASSERT_NE(login->Create(app->mainFrame.get()), nullptr);
  }

  void SetUp() override {
    log.clear();
    routesPtr->connected = false;
    for (std::size_t i = 0; i < app->settings->ServiceAccountCount(); ++i) {
      auto* account = Account(i);
      account->changed = account->changeOnSetup = false;
    }
    app->settings->showServices = true;
  }

  static FakeAccount* Account(std::size_t index) {
    return static_cast<FakeAccount*>(app->settings->ServiceAccount(index));
  }
  static FakeAccount* Jabber() { return Account(0); }

  // The registry file as text, and whether only its owner may read it.
  static std::string Registry() { return home->Read("registry.reg"); }
  static bool OwnerOnly() {
    struct stat info {};
    return ::stat(home->registryFile().c_str(), &info) == 0 && (info.st_mode & 0777) == 0600;
  }

  // Queues the steps for the dialog that the caller opens next.
  static void Script(std::vector<DialogStep> steps) {
    ScriptSteps().assign(steps.begin(), steps.end());
    PostMessage(ScriptWindow(), kScriptStep, 0, 0);
  }

  static void Click(HWND dialog, int id) { SendDlgItemMessage(dialog, id, BM_CLICK, 0, 0); }
  static void Ok(HWND dialog) { SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
  static void Type(HWND dialog, int id, const WCHAR* text) { SetDlgItemTextW(dialog, id, text); }
  static std::u16string LastBox() {
    WCHAR text[256];
    LastMessageBox(text, 256, nullptr, 0, nullptr);
    return text;
  }

  inline static std::unique_ptr<TempHome> home;  // removed at exit
  inline static MApp* app = nullptr;
  inline static ScreenRoutes* routesPtr = nullptr;
  inline static MLoginWnd* login = nullptr;
  inline static std::vector<std::string> log;
};
