// The server text of the account as the login reads it: the host, and the port typed or the
// default port of the encryption setting.
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
      {"example.org:65536", true, "example.org", 0},
      {"", false, "", 0},
  };
  for (const ServerCase& c : cases) {
    LoginTarget target = ParseLoginServer(c.text, c.encrypt);
    EXPECT_STREQ(target.host.c_str(), c.host) << c.text;
    EXPECT_EQ(target.port, c.port) << c.text;
    EXPECT_EQ(target.valid, c.port != 0) << c.text;
  }
}

}  // namespace
