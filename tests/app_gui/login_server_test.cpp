// The server text of the account as the login reads it: host and port, and what is refused.
#include <gtest/gtest.h>

#include "app/login_control.h"

namespace {

struct ServerCase {
  const char* text;
  bool encrypt;
  const char* host;
  int port;  // 0: refused
};

TEST(LoginServer, HostAndPortAreReadAndPortsOutsideTheRangeAreRefused) {
  const ServerCase cases[] = {
      {"example.org", false, "example.org", 5222},
      {"example.org", true, "example.org", 5223},
      {"example.org:5223", false, "example.org", 5223},  // a typed port wins over the setting
      {"example.org:5222", true, "example.org", 5222},
      {"example.org:1", false, "example.org", 1},
      {"example.org:65535", false, "example.org", 65535},
      {"example.org:0", false, "example.org", 0},
      {"example.org:65536", false, "example.org", 0},
      {"example.org:99999999999", false, "example.org", 0},
      {"example.org:-5", false, "example.org", 0},
      {"example.org:52x", false, "example.org", 0},
      {"example.org:", false, "example.org", 0},
      {":5222", false, "", 5222},
      {"", false, "", 5222},
  };
  for (const ServerCase& c : cases) {
    LoginTarget target = ParseLoginServer(c.text, c.encrypt);
    EXPECT_STREQ(target.host.c_str(), c.host) << c.text;
    EXPECT_EQ(target.port, c.port) << c.text;
    EXPECT_EQ(target.valid, c.port != 0 && c.host[0] != '\0') << c.text;
  }
}

}  // namespace
