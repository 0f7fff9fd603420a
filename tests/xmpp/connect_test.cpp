// jab_connect's failures that need no server.
#include "tests/support/free_port.h"
#include "wire_fixture.h"
#include "xmpp/session_loop.h"

namespace {

class ConnectTest : public ::testing::Test {
 protected:
  TempHome home_;
  HeadlessHost host_;
};

TEST_F(ConnectTest, AnUnusableAddressAsksForTheCredentialsAgain) {
  EXPECT_EQ(-1, jab_connect(host_.session(), "127.0.0.1", "no body", "pw", FreeLoopbackPort(), 0));
  ASSERT_EQ(1u, host_.MessageBoxes().size());
  EXPECT_EQ(
      "Incorrect Jabber username or password specified. Please re-enter username and "
      "password.",
      host_.MessageBoxes()[0]);
  EXPECT_EQ(SESSION_OFF, host_.session()->state.load());
}

TEST_F(ConnectTest, AnUnreachableServerIsReportedInTheLogAndInABoxWhenLoginWasRequested) {
  host_.SetLoginRequested(true);
  EXPECT_EQ(-1, jab_connect(host_.session(), "127.0.0.1", "alice", "pw", FreeLoopbackPort(), 0));
  std::vector<std::string> lines = host_.LogLines();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ("<P>Connecting to Jabber server '127.0.0.1'...</P>", lines[0]);
  EXPECT_EQ("<p>Cannot connect to Jabber server '127.0.0.1'.</p>", lines[1]);
  EXPECT_EQ(
      "<P>Check your settings by selecting \"Run Setup Wizard\" from the \"Menu\" "
      "menu.</P>",
      lines[2]);
  EXPECT_EQ(LOGIN_ERROR_UNREACHABLE, host_.session()->login_error);
  EXPECT_EQ(SESSION_OFF, host_.session()->state.load());
  ASSERT_EQ(1u, host_.MessageBoxes().size());
  EXPECT_EQ(
      "Cannot connect to the Jabber server. Check your settings by selecting \"Run Setup "
      "Wizard\" from the \"Menu\" menu.",
      host_.MessageBoxes()[0]);

  host_.SetLoginRequested(false);  // an automatic reconnection: no box
  jab_connect(host_.session(), "127.0.0.1", "alice", "pw", FreeLoopbackPort(), 0);
  EXPECT_EQ(1u, host_.MessageBoxes().size());
}

TEST_F(ConnectTest, AnotherServerNameClearsTheRoster) {
  jab_connect(host_.session(), "example.test@127.0.0.1", "alice", "pw", FreeLoopbackPort(), 0);
  EXPECT_EQ(1, host_.rosterClears_.load());
  jab_connect(host_.session(), "127.0.0.1", "alice", "pw", FreeLoopbackPort(), 0);
  EXPECT_EQ(1, host_.rosterClears_.load());
}

}  // namespace
