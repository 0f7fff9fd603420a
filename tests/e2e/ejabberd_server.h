// An ejabberd 23.01 for one test. ejabberdctl insists on switching to the "ejabberd" user when
// run as root and on a distributed node; the Erlang VM started directly needs neither: it runs
// ejabberd as nonode@nohost with this test's configuration, spool and log folder, and registers
// the test's accounts before it reports ready.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "process_support.h"

namespace e2e {

class EjabberdServer {
 public:
  // `legacy_only`: SASL is switched off, so clients log in with jabber:iq:auth.
  explicit EjabberdServer(bool legacy_only) : port_(FreePort()) {
    std::string sasl = legacy_only
                           ? "disable_sasl_mechanisms: [\"PLAIN\", \"SCRAM-SHA-1\", "
                             "\"SCRAM-SHA-256\", \"SCRAM-SHA-512\", \"DIGEST-MD5\", \"X-OAUTH2\"]"
                           : "disable_sasl_mechanisms: [\"SCRAM-SHA-1\", \"SCRAM-SHA-256\", "
                             "\"SCRAM-SHA-512\", \"DIGEST-MD5\", \"X-OAUTH2\"]";
    std::string config = ReadFile(SourceDir() + "/tests/e2e/ejabberd.yml.in");
    WriteFile(dir_ / "ejabberd.yml",
              Fill(config, {{"PORT", std::to_string(port_)}, {"SASL", sasl}}));
    std::filesystem::create_directories(dir_ / "db");
    std::filesystem::create_directories(dir_ / "log");
  }

  void AddAccount(const std::string& user, const std::string& password) {
    accounts_.emplace_back(user, password);
  }

  bool Start() {
    std::string eval;
    for (const auto& [user, password] : accounts_)
      eval += "ejabberd_auth:try_register(<<\"" + user + "\">>, <<\"localhost\">>, <<\"" +
              password + "\">>), ";
    eval += "io:format(\"ORVIK-READY~n\").";
    process_.Start({"erl", "-noinput", "-mnesia", "dir", "\"" + (dir_ / "db") + "\"", "-s",
                    "ejabberd", "-eval", eval},
                   dir_.path(), dir_ / "erl.out",
                   {{"HOME", dir_.path()},
                    {"ERL_LIBS", "/usr/lib/x86_64-linux-gnu"},
                    {"EJABBERD_CONFIG_PATH", dir_ / "ejabberd.yml"},
                    {"EJABBERD_LOG_PATH", dir_ / "log/ejabberd.log"}});
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline && process_.Running()) {
      if (ReadFile(dir_ / "erl.out").find("ORVIK-READY") != std::string::npos)
        return PortAccepts(port_);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  int port() const { return port_; }
  std::string Log() { return ReadFile(dir_ / "erl.out") + ReadFile(dir_ / "log/ejabberd.log"); }

 private:
  TempDir dir_;
  int port_;
  std::vector<std::pair<std::string, std::string>> accounts_;
  ChildProcess process_;
};

}  // namespace e2e
