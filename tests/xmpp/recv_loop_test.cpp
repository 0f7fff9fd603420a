// The receive loop on a silent socket: it sleeps in its pause and still ends when the program
// shuts down or the user disconnects, and the socket is closed behind it.
#include <thread>

#include "wire_fixture.h"

namespace {

class RecvLoopTest : public WireTest {
 protected:
  // The loop as the login thread runs it, on a connection that is up and not yet logged in.
  void StartLoop() {
    OpenStream();
    session_->connection.established = 1;
    session_->connection.check_routes = 0;
    session_->connect_tick = GetTickCount();
    session_->login_timeout_ms = 600000;  // the stalled-login rule must not end it here
    loop_ = std::thread([this] { session_run(session_); });
    // The loop is running (and soon pausing) once it has reset its ended event.
    while (WaitForSingleObject(session_->loop_ended, 0) == WAIT_OBJECT_0 &&
           session_->state != SESSION_POLLING) {
      std::this_thread::yield();
    }
  }

  // True once the loop has returned; a loop that never ends fails here instead of hanging.
  bool LoopEnded() {
    bool ended = WaitForSingleObject(session_->loop_ended, 60000) == WAIT_OBJECT_0;
    if (ended)
      loop_.join();
    else
      loop_.detach();
    return ended;
  }

  std::thread loop_;
};

TEST_F(RecvLoopTest, ShutdownEndsTheLoopBlockedOnASilentSocket) {
  StartLoop();
  host_->Shutdown().Signal();
  ASSERT_TRUE(LoopEnded());
  EXPECT_EQ(conn()->fd, -1);
  EXPECT_EQ(session_->state, SESSION_OFF);
}

TEST_F(RecvLoopTest, DisconnectEndsTheLoopBlockedOnASilentSocket) {
  StartLoop();
  disconnect(session_);
  ASSERT_TRUE(LoopEnded());
  EXPECT_EQ(conn()->fd, -1);
  EXPECT_FALSE(host_->Shutdown().IsSignalled());  // it was the closed socket that ended it
}

TEST_F(RecvLoopTest, ThePeerClosingEndsTheLoop) {
  StartLoop();
  close(peer_);
  peer_ = -1;
  ASSERT_TRUE(LoopEnded());
  EXPECT_EQ(conn()->fd, -1);
}

}  // namespace
