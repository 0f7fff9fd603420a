// The program as a user meets it, in the test process: a fresh profile ($ORVIK_HOME), a
// Prosody with the user's account, and the application object made exactly as main() makes
// it, its windows offscreen. The test thread is the user-interface thread.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "app/jabber_wnd.h"
#include "app/program_routes.h"
#include "e2e/prosody_server.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform_qt/display_support.h"
#include "support/registry_setting.h"
#include "support/temp_home.h"
#include "xml/text_convert.h"

namespace e2e {

inline int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

class ProgramTest : public DisplayTest {
 protected:
  void SetUp() override {
    home_ = std::make_unique<TempHome>();
    server_ = std::make_unique<ProsodyServer>();
    server_->AddAccount("localhost", "alice", "secret");
    server_->AddRoster("localhost", "alice", 3);
    ASSERT_TRUE(server_->Start());
    SetText(u"Software\\orvik\\TLS", "CA FILE", TestCa::Get().ca_file());
    SetMessageBoxAutoAnswer(IDOK);
  }

  void TearDown() override {
    StopProgram();
    SetMessageBoxAutoAnswer(0);
    server_.reset();
    home_.reset();
    DisplayTest::TearDown();
  }

  // The account and settings as the setup screens leave them.
  void SetAccount(const std::string& server, const std::string& user, const std::string& password) {
    SetText(kSettingsKey, "JABBERTR.SERVER", server);
    SetText(kSettingsKey, "JABBERTR.USERNAME", user);
    SetText(kSettingsKey, "JABBERTR.PASSWORD", password);
    SetDword(kSettingsKey, "SetupWizard", 1);
  }
  std::string LocalServer() const { return "localhost:" + std::to_string(server_->c2s_port()); }

  static void SetText(const char16_t* keyName, const char* name, const std::string& value) {
    ASSERT_TRUE(SetRegistryText(keyName, name, value));
  }
  static void SetDword(const char16_t* keyName, const char* name, DWORD value) {
    ASSERT_TRUE(SetRegistryDword(keyName, name, value));
  }

  // Start-up as main() does it.
  void StartProgram() {
    static std::uintptr_t instance = 9000;
    app_ = new MApp(reinterpret_cast<HINSTANCE>(++instance), "");
    SetApp(app_);
    app_->SetRoutes(std::make_unique<MProgramRoutes>(app_));
    ASSERT_TRUE(app_->Initialise());
  }

  // The Exit command, then the quit message it leaves behind is taken off the queue.
  void StopProgram() {
    if (app_ == nullptr) {
      return;
    }
    app_->Exit();
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    SetApp(nullptr);
    app_ = nullptr;  // the application object lives on, as in the program
  }

  MProgramRoutes& routes() { return static_cast<MProgramRoutes&>(app_->routes()); }
  std::string Log() { return wide_to_utf8(app_->logWindow->GetContent()).c_str(); }
  bool LogHas(const std::string& text) { return Log().find(text) != std::string::npos; }
  bool WaitForLog(const std::string& text, double seconds = 20) {
    return RunUntil([&] { return LogHas(text); }, seconds);
  }
  std::string Registry() { return home_->Read("registry.reg"); }

  // A gateway of `type` at `name` (a slixmpp component the server announces); its output goes
  // to `dir`/gateway.out. The server is restarted to know the component.
  bool StartGateway(const std::string& name, const std::string& type, const TempDir& dir,
                    ChildProcess* gateway) {
    server_->Stop();
    server_->AddComponent(name, "gw-secret");
    if (!server_->Start()) {
      return false;
    }
    gateway->Start(
        {"/usr/bin/python3", SourceDir() + "/tests/peers/gateway_component.py", name, "gw-secret",
         "127.0.0.1", std::to_string(server_->component_port()), type, "60"},
        dir.path(), dir / "gateway.out");
    return RunUntil(
        [&] { return ReadFile(dir / "gateway.out").find("ready") != std::string::npos; }, 20);
  }

  std::unique_ptr<TempHome> home_;
  std::unique_ptr<ProsodyServer> server_;
  MApp* app_ = nullptr;
};

}  // namespace e2e
