// The engine as the application drives it, with no windows: a HeadlessHost in a temporary
// $ORVIK_HOME, the test thread as UI thread.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/registry_setting.h"
#include "support/temp_home.h"
#include "xmpp/headless_host.h"
#include "xmpp/session_loop.h"

namespace e2e {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { host_ = std::make_unique<HeadlessHost>(); }
  void TearDown() override { host_.reset(); }

  static void SetRegistryText(const char16_t* key_name, const char* name,
                              const std::string& value) {
    ASSERT_TRUE(::SetRegistryText(key_name, name, value));
  }
  static void SetRegistryDword(const char* name, DWORD value) {
    ASSERT_TRUE(::SetRegistryDword(u"Software\\orvik\\Network", name, value));
  }
  static void TrustCa(const std::string& ca_file) {
    SetRegistryText(u"Software\\orvik\\TLS", "CA FILE", ca_file);
  }

  // Starts a login and waits until the roster has arrived (true) or the attempt ended.
  bool LoginToRoster(const std::string& server, const std::string& user,
                     const std::string& password, int port, bool create = false,
                     int timeout_ms = 15000) {
    int before = host_->roster_results();
    host_->StartLogin(server.c_str(), user.c_str(), password.c_str(), port, create);
    return host_->PumpUntil(
               [&] { return host_->roster_results() > before || host_->LoginThreadDone(); },
               timeout_ms) &&
           host_->roster_results() > before;
  }

  // Logs out and waits for the login thread.
  void Logout() {
    host_->Logout();
    EXPECT_TRUE(host_->WaitLoginThread(10000));
  }

  std::string Lines() {
    std::string all;
    for (const std::string& line : host_->LogLines())
      all += line + "\n";
    for (const std::string& box : host_->MessageBoxes())
      all += "[box] " + box + "\n";
    return all;
  }

  MJabberSession* session() { return host_->session(); }

  TempHome home_;
  std::unique_ptr<HeadlessHost> host_;
};

}  // namespace e2e
