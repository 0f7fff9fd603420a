#include <gtest/gtest.h>

#include <cstring>

#include "xmpp/jconn.h"

// A login's address strings outlive it by one login, for threads that read the own address
// while the next login begins. A retry of the same login must not use up that grace.
TEST(JconnReset, ARetryOfTheSameLoginKeepsThePreviousLoginsStrings) {
  jconn* c = jconn_new();
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(0, jconn_reset(c, "alice@example.org/orvik", 5222, "pw", 1, -1));
  jid* alice = c->user;

  ASSERT_EQ(0, jconn_reset(c, "alice@example.org/orvik", 5222, "pw", 0, -1));
  EXPECT_EQ(c->user, alice);  // the clear retry of the same login
  EXPECT_EQ(c->secure, 0);

  ASSERT_EQ(0, jconn_reset(c, "bob@example.org/orvik", 5222, "pw", 1, -1));
  ::pool* alices_pool = c->old_pool;
  ASSERT_EQ(0, jconn_reset(c, "bob@example.org/orvik", 5222, "pw", 0, -1));
  EXPECT_EQ(c->old_pool, alices_pool);
  EXPECT_STREQ(alice->user, "alice");  // still readable

  ASSERT_EQ(0, jconn_reset(c, "bob@example.org/orvik", 5222, "other", 0, -1));
  EXPECT_STREQ(c->password, "other");  // a changed password is a new login
  jconn_free(c);
}
