// A Prosody 0.12 for one test: its own folder, free loopback ports, accounts written straight
// into its data folder, the certificate chosen by the test.
#pragma once

#include <string>
#include <vector>

#include "process_support.h"
#include "test_ca.h"

namespace e2e {

// Prosody's file names for a host: every character but letters and digits as %xx.
inline std::string ProsodyEncode(const std::string& text) {
  std::string out;
  char hex[4];
  for (unsigned char c : text) {
    if (std::isalnum(c)) {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "%%%02x", c);
      out += hex;
    }
  }
  return out;
}

class ProsodyServer {
 public:
  // The certificate names: the test CA signs a certificate for them.
  explicit ProsodyServer(std::vector<std::string> certificate_names = {"localhost", "secure.test",
                                                                       "notls.test", "legacy.test"})
      : c2s_port_(FreePortPair()), tls_port_(FreePort()) {
    certificate_ok_ = TestCa::Get().MakeServerCertificate(dir_ / "certs", certificate_names);
    std::string config = ReadFile(SourceDir() + "/tests/e2e/prosody.cfg.lua.in");
    WriteFile(dir_ / "prosody.cfg.lua", Fill(config, {{"DIR", dir_.path()},
                                                      {"C2S_PORT", std::to_string(c2s_port_)},
                                                      {"TLS_PORT", std::to_string(tls_port_)}}));
  }

  void AddAccount(const std::string& host, const std::string& user, const std::string& password) {
    WriteFile(DataFile(host, "accounts", user),
              "return { [\"password\"] = \"" + password + "\"; };\n");
  }

  // A roster of `count` contacts c1@domain .. cN@domain for `user` (domain: the host itself
  // unless given).
  void AddRoster(const std::string& host, const std::string& user, int count,
                 const std::string& contactDomain = "") {
    std::vector<std::pair<std::string, std::string>> contacts;
    for (int i = 1; i <= count; ++i) {
      contacts.push_back(
          {"c" + std::to_string(i) + "@" + (contactDomain.empty() ? host : contactDomain),
           "Contact " + std::to_string(i)});
    }
    SetRoster(host, user, contacts);
  }

  // `user`'s roster: each (bare JID, name) in group "Friends" with subscription both.
  void SetRoster(const std::string& host, const std::string& user,
                 const std::vector<std::pair<std::string, std::string>>& contacts) {
    std::string text = "return {\n  [false] = { [\"version\"] = 1; [\"pending\"] = {}; };\n";
    for (const auto& [jid, name] : contacts) {
      text += "  [\"" + jid + "\"] = { [\"subscription\"] = \"both\"; [\"name\"] = \"" + name +
              "\"; [\"groups\"] = { [\"Friends\"] = true; }; };\n";
    }
    text += "};\n";
    WriteFile(DataFile(host, "roster", user), text);
  }

  // An external component (a gateway) at `name` with `secret`, listening on component_port().
  // Call before Start.
  void AddComponent(const std::string& name, const std::string& secret) {
    component_port_ = FreePort();
    std::string config = ReadFile(dir_ / "prosody.cfg.lua");
    std::string ports = "component_ports = { }";
    config.replace(config.find(ports), ports.size(),
                   "component_ports = { " + std::to_string(component_port_) +
                       " }\ncomponent_interfaces = { \"127.0.0.1\" }");
    config += "\nComponent \"" + name + "\"\n  component_secret = \"" + secret + "\"\n";
    WriteFile(dir_ / "prosody.cfg.lua", config);
  }
  int component_port() const { return component_port_; }

  // A conference service at `host` where any user may create rooms. Rooms keep no log or
  // archive, show every occupant's real address and let anyone set the subject by default. Call
  // before Start.
  void AddMuc(const std::string& host = "conference.localhost") {
    std::string config = ReadFile(dir_ / "prosody.cfg.lua");
    config += "\nComponent \"" + host + "\" \"muc\"\n" + kMucSettings;
    WriteFile(dir_ / "prosody.cfg.lua", config);
  }

  // Debug lines (every stream event) in the log. Call before Start.
  void EnableDebugLog() {
    std::string config = ReadFile(dir_ / "prosody.cfg.lua");
    std::string level = "log = { info = ";
    config.replace(config.find(level), level.size(), "log = { debug = ");
    WriteFile(dir_ / "prosody.cfg.lua", config);
  }

  bool HasAccount(const std::string& host, const std::string& user) {
    return std::filesystem::exists(DataFile(host, "accounts", user));
  }

  bool Start() {
    if (!certificate_ok_)
      return false;
    process_.Start({"prosody", "--config", dir_ / "prosody.cfg.lua"}, dir_.path(),
                   dir_ / "prosody.out");
    return WaitForPort(c2s_port_, 15000) && WaitForPort(tls_port_, 15000) &&
           (component_port_ == 0 || WaitForPort(component_port_, 15000));
  }
  void Stop() { process_.Stop(); }

  std::string certificate_file() const { return dir_ / "certs/server.crt"; }
  int c2s_port() const { return c2s_port_; }
  int tls_port() const { return tls_port_; }
  std::string Log() { return ReadFile(dir_ / "prosody.log") + ReadFile(dir_ / "prosody.out"); }

 private:
  static constexpr const char* kMucSettings =
      "  restrict_room_creation = false\n"
      "  muc_room_default_public_jids = true\n"
      "  muc_room_default_changesubject = true\n"
      "  muc_room_default_persistent = false\n";

  std::string DataFile(const std::string& host, const std::string& store, const std::string& user) {
    return dir_ /
           ("data/" + ProsodyEncode(host) + "/" + store + "/" + ProsodyEncode(user) + ".dat");
  }

  TempDir dir_;
  int c2s_port_;
  int tls_port_;
  int component_port_ = 0;
  bool certificate_ok_ = false;
  ChildProcess process_;
};

}  // namespace e2e
