// A server that misbehaves on purpose: the connection ends with a line in the log window, the
// program does not crash and its memory stays bounded.
#include <fstream>

#include "engine_fixture.h"
#include "process_support.h"

namespace e2e {
namespace {

long ResidentKilobytes() {
  std::ifstream status("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  status >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

class HostileServerTest : public EngineTest, public ::testing::WithParamInterface<const char*> {
 protected:
  // Starts the scripted server in `mode` and returns its port.
  int StartPeer(const char* mode) {
    std::string port_file = dir_ / "port";
    peer_.Start(
        {"/usr/bin/python3", SourceDir() + "/tests/peers/hostile_server.py", mode, port_file},
        dir_.path(), dir_ / "peer.log");
    for (int i = 0; i < 200 && !std::filesystem::exists(port_file); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    return std::atoi(ReadFile(port_file).c_str());
  }

  // The scripted server's report; it ends soon after the client has gone.
  bool RunUntilPeerSays(const std::string& line) {
    return host_->PumpUntil(
        [&] { return ReadFile(dir_ / "peer.log").find(line) != std::string::npos; }, 10000);
  }

  TempDir dir_;
  ChildProcess peer_;
};

TEST_P(HostileServerTest, TheConnectionEndsWithALogLine) {
  std::string mode = GetParam();
  SetRegistryDword("LOGIN TIMEOUT", 3000);
  host_->compression = true;
  int port = StartPeer(mode.c_str());
  ASSERT_GT(port, 0) << ReadFile(dir_ / "peer.log");
  long before = ResidentKilobytes();
  host_->StartLogin("hostile.test@127.0.0.1", "alice", "secret", port, false);
  ASSERT_TRUE(host_->PumpUntil([&] { return host_->session_ended_count() > 0; }, 20000))
      << Lines() << ReadFile(dir_ / "peer.log");
  EXPECT_TRUE(host_->WaitLoginThread(5000));
  long growth = ResidentKilobytes() - before;
  EXPECT_LT(growth, 64 * 1024) << "kB";
  EXPECT_EQ(0, host_->dispatched_count());
  EXPECT_EQ(0, host_->logged_in_count() - (mode == "zlibbomb" ? 1 : 0));
  std::string lines = Lines();
  EXPECT_NE(std::string::npos, lines.find("<p>Sending disconnection</p>")) << lines;
  if (mode != "midclose") {
    EXPECT_NE(std::string::npos, lines.find("<p>Connection to the server ended: ")) << lines;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, HostileServerTest,
                         ::testing::Values("garbage", "doctype", "oversized", "zlibbomb",
                                           "midclose", "silent"));

class SilentServerTest : public HostileServerTest {};

TEST_F(SilentServerTest, NoKeepaliveBeforeTheLogin) {
  SetRegistryDword("LOGIN TIMEOUT", 60000);
  host_->Settings().keepalivePeriod = 200;
  int port = StartPeer("silent");
  host_->StartLogin("hostile.test@127.0.0.1", "alice", "secret", port, false);
  host_->PumpFor(1500);
  EXPECT_EQ(0, host_->keepalive_count());
  EXPECT_EQ(SESSION_POLLING, session()->state.load());
  Logout();
}

// A server that never answers the client's closing tag: logging off still ends the session,
// after the tag, with the socket closed.
TEST_F(SilentServerTest, LogOffEndsEvenWhenTheServerNeverAnswersTheClose) {
  int port = StartPeer("deaf");
  ASSERT_TRUE(LoginToRoster("hostile.test@127.0.0.1", "alice", "secret", port))
      << Lines() << ReadFile(dir_ / "peer.log");
  Logout();
  EXPECT_EQ(-1, session()->conn->fd.load());
  ASSERT_TRUE(RunUntilPeerSays("client hung up")) << ReadFile(dir_ / "peer.log") << Lines();
  EXPECT_NE(std::string::npos,
            ReadFile(dir_ / "peer.log").find("client closed the stream\nclient hung up"));
}

}  // namespace
}  // namespace e2e
