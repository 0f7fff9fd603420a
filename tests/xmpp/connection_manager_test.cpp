// The data-connection check: up while the host routes to the server, looked at again only
// after the kernel announces a change, and nothing left open once released.
#include "xmpp/connection_manager.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_home.h"

namespace {

size_t OpenDescriptors() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++count;
  return count;
}

TEST(ConnectionManager, LoopbackStaysUpAcrossLooksAndReleaseLeavesNothingOpen) {
  TempHome home;
  size_t before = OpenDescriptors();
  for (int round = 0; round < 3; ++round) {
    cm_connection connection{};
    ASSERT_EQ(cm_establish(&connection, "127.0.0.1:5222"), 0);
    for (int look = 0; look < 3; ++look)
      EXPECT_EQ(cm_status(&connection), CONNMGR_STATUS_CONNECTED);
    cm_release(&connection);
    EXPECT_EQ(cm_status(&connection), CONNMGR_STATUS_DISCONNECTED);
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(ConnectionManager, EstablishingAgainWhileUpKeepsItUp) {
  TempHome home;
  cm_connection connection{};
  ASSERT_EQ(cm_establish(&connection, "127.0.0.1"), 0);
  connection.up = 0;  // a look that saw the route gone, before the route came back
  ASSERT_EQ(cm_establish(&connection, "127.0.0.1"), 0);
  EXPECT_EQ(cm_status(&connection), CONNMGR_STATUS_CONNECTED);
  cm_release(&connection);
}

}  // namespace
