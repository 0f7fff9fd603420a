// ejabberd 23.01: stream compression and legacy digest authentication.
#include "ejabberd_server.h"
#include "engine_fixture.h"
#include "xml/packet.h"
#include "xmpp/operations.h"

namespace e2e {
namespace {

using EjabberdTest = EngineTest;

TEST_F(EjabberdTest, CompressedLoginReachesTheRosterAndFlushesADeferredStanzaOnce) {
  EjabberdServer server(false);
  server.AddAccount("alice", "secret");
  server.AddAccount("bob", "secret");
  ASSERT_TRUE(server.Start()) << server.Log();

  HeadlessHost bob;
  int messages_to_bob = 0;
  bob.onDispatch = [&](packet* p) {
    if (packet_subtype(p) == SUBTYPE_CHAT && std::string(packet_body(p)) == "written offline")
      ++messages_to_bob;
  };
  int before = bob.roster_results();
  bob.StartLogin("localhost", "bob", "secret", server.port(), false);
  ASSERT_TRUE(bob.PumpUntil([&] { return bob.roster_results() > before; }, 15000));

  // Alice logs in once uncompressed, then writes while disconnected: the stanza is deferred.
  ASSERT_TRUE(LoginToRoster("localhost", "alice", "secret", server.port())) << Lines();
  Logout();
  send_chat(session(), "bob@localhost", "written offline");
  ASSERT_EQ(1, jab_deferred_count(session()->conn));

  // The next login negotiates compression after authentication; the roster result flushes.
  host_->compression = true;
  host_->Settings().debugMode = true;
  ASSERT_TRUE(LoginToRoster("localhost", "alice", "secret", server.port()))
      << Lines() << server.Log();
  EXPECT_EQ(1, session()->conn->compressed.load());
  EXPECT_EQ(0, jab_deferred_count(session()->conn));
  ASSERT_TRUE(host_->PumpUntil([&] { return messages_to_bob > 0; }, 10000)) << Lines();
  host_->PumpFor(500);
  EXPECT_EQ(1, messages_to_bob);
  std::string trace = home_.Read("device/WINDOWS/debuglog.xml");
  size_t compressed_at = trace.find("<compressed xmlns='http://jabber.org/protocol/compress'/>");
  size_t flushed_at = trace.find("written offline");
  ASSERT_NE(std::string::npos, compressed_at);
  EXPECT_GT(flushed_at, compressed_at);  // sent on the compressed stream
  Logout();
  bob.Logout();
  bob.WaitLoginThread(5000);
}

TEST_F(EjabberdTest, LegacyDigestAuthentication) {
  EjabberdServer server(true);
  server.AddAccount("alice", "s3cret%");
  ASSERT_TRUE(server.Start()) << server.Log();
  host_->Settings().debugMode = true;
  ASSERT_TRUE(LoginToRoster("localhost", "alice", "s3cret%", server.port()))
      << Lines() << server.Log();
  std::string trace = home_.Read("device/WINDOWS/debuglog.xml");
  EXPECT_NE(std::string::npos, trace.find("<digest>***</digest>"));
  EXPECT_EQ(std::string::npos, trace.find("s3cret%"));
  EXPECT_EQ(1, host_->logged_in_count());
  Logout();
}

}  // namespace
}  // namespace e2e
