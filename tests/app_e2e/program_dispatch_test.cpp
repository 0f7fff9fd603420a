// What the program does with what others send it, against a real Prosody and slixmpp peers:
// who learns the location and the address, which subscription presences are answered, the
// answers every client owes (ping, disco#info, service-unavailable), and the presence of
// contacts: roster state, sounds and popups after the quiet minute, the contact window's line.
#include "app/dispatcher.h"
#include "program_fixture.h"

namespace e2e {
namespace {

class ProgramDispatchTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    for (const char* user : {"c1", "c2", "c3", "stranger", "evil"}) {
      server_->AddAccount("localhost", user, "pw");
    }
    SetAccount(LocalServer(), "alice", "secret");
    SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
    SetDword(kSettingsKey, "LOCATION SUPPORT", 1);
    SetDword(kSettingsKey, "DEBUG MODE", 1);
    StartProgram();
    dispatcher().SetNotifier(nullptr);  // counted, not played or shown
    ASSERT_TRUE(WaitForLog("Contact list received: 3 contacts.")) << Log();
  }

  // Starts the probe peer as `user` with `actions`; it ends `linger` seconds after them.
  std::unique_ptr<ChildProcess> StartProbe(const std::string& user,
                                           std::vector<std::string> actions, double linger) {
    std::vector<std::string> command = {"/usr/bin/python3",
                                        SourceDir() + "/tests/peers/probe_peer.py",
                                        user + "@localhost",
                                        "pw",
                                        "127.0.0.1",
                                        std::to_string(server_->c2s_port()),
                                        "alice@localhost/orvik",
                                        std::to_string(linger)};
    command.insert(command.end(), actions.begin(), actions.end());
    auto peer = std::make_unique<ChildProcess>();
    peer->Start(command, peerDir_.path(), peerDir_ / (user + ".out"));
    return peer;
  }

  // Runs the probe peer to its end; returns everything it printed.
  std::string Probe(const std::string& user, std::vector<std::string> actions, double linger = 2) {
    auto peer = StartProbe(user, actions, linger);
    auto output = [&] { return ReadFile(peerDir_ / (user + ".out")); };
    EXPECT_TRUE(RunUntil([&] { return output().find("done") != std::string::npos; }, 60))
        << output();
    return output();
  }

  // What the program sent, from its debug log.
  std::string Sent() { return home_->Read("device/WINDOWS/debuglog.xml"); }
  MDispatcher& dispatcher() { return routes().dispatcher(); }
  MCountingNotifier& notifier() { return dispatcher().CountingNotifier(); }

  TempDir peerDir_;
};

// A stranger asking for the position (both ways) or the address gets no answer at all; a
// contact gets each answer under its request's id (slixmpp matches the answer by id).
TEST_F(ProgramDispatchTest, OnlyContactsLearnTheLocationAndTheAddress) {
  std::string stranger = Probe("stranger", {"geoloc", "remoteip", "locationreq"});
  EXPECT_NE(std::string::npos, stranger.find("geoloc timeout")) << stranger;
  EXPECT_NE(std::string::npos, stranger.find("remoteip timeout")) << stranger;
  EXPECT_EQ(0, Count(stranger, "from-target")) << stranger;

  // Nor can a stranger plant a contact with a roster push.
  std::string push = Probe("evil", {"rosterpush"});
  EXPECT_NE(std::string::npos, push.find("rosterpush timeout")) << push;
  EXPECT_TRUE(app_->roster->GetItem("planted@localhost", "").jid.empty());

  std::string contact = Probe("c1", {"geoloc", "remoteip", "locationreq"});
  EXPECT_NE(std::string::npos, contact.find("geoloc result")) << contact;
  EXPECT_NE(std::string::npos, contact.find("remoteip result")) << contact;
  EXPECT_EQ(1, Count(contact, "from-target iq set")) << contact;  // the published position
}

// Ping, disco#info and a request nobody handles; a result or error is never answered.
TEST_F(ProgramDispatchTest, AnswersPingDiscoAndUnknownRequests) {
  std::string out = Probe("stranger", {"ping", "disco", "unknown", "unknownset"});
  EXPECT_NE(std::string::npos, out.find("ping result")) << out;
  EXPECT_NE(std::string::npos, out.find("unknown error service-unavailable cancel")) << out;
  EXPECT_NE(std::string::npos, out.find("unknownset error service-unavailable cancel")) << out;
  EXPECT_NE(std::string::npos, out.find("category=\"client\"")) << out;
  EXPECT_NE(std::string::npos, out.find("type=\"pc\"")) << out;
  EXPECT_NE(std::string::npos, out.find("name=\"orvik Messenger\"")) << out;
  EXPECT_NE(std::string::npos, out.find("var=\"urn:xmpp:ping\"")) << out;
  EXPECT_NE(std::string::npos, out.find("var=\"http://jabber.org/protocol/geoloc\"")) << out;
  std::string answers = Probe("c1", {"result", "error"});
  EXPECT_EQ(0, Count(answers, "from-target")) << answers;
}

// A subscription request is approved once; a refusal (unsubscribed, to the request the program
// sends back) and a cancellation (unsubscribe) are not answered with an approval.
TEST_F(ProgramDispatchTest, OnlyASubscribeRequestIsApproved) {
  // What the program sent (the debug log holds what it received too).
  const std::string approval = "[<presence type='subscribed' to='stranger@localhost'";
  const std::string askBack = "[<presence type='subscribe' to='stranger@localhost'";
  Probe("stranger", {"subscribe", "wait", "wait", "unsubscribed", "wait", "unsubscribe", "wait"},
        2);
  EXPECT_GE(Count(Sent(), "'unsubscribed'"), 1) << "the server never delivered the refusal";
  EXPECT_GE(Count(Sent(), "'unsubscribe'"), 1) << "the server never delivered the cancellation";
  EXPECT_EQ(1, Count(Sent(), approval)) << Sent();
  // The stranger sees our presence ("from") and is asked back once, however often the server
  // pushes the item again.
  EXPECT_EQ(1, Count(Sent(), askBack)) << Sent();
}

// Within the quiet minute a contact's presence updates the roster silently; afterwards it
// plays the enter and exit sounds and a contact that came online gets one popup. Presence from
// someone outside the roster changes nothing.
TEST_F(ProgramDispatchTest, PresenceIsQuietAfterTheRosterThenNotifies) {
  auto quiet = StartProbe("c3", {"available"}, 3);
  EXPECT_TRUE(RunUntil([&] { return app_->roster->GetOnline("c3@localhost", "") == 1; }, 10));
  EXPECT_STREQ("here & <there>", app_->roster->GetItem("c3@localhost", "").status.c_str());
  EXPECT_EQ(0, notifier().Sounds(EventSound::Enter));
  EXPECT_EQ(0, notifier().Popups());

  dispatcher().SetQuietPeriod(0);
  Probe("stranger", {"available", "unavailable"}, 1);
  EXPECT_EQ(0, notifier().Sounds(EventSound::Enter) + notifier().Sounds(EventSound::Exit));
  EXPECT_EQ(0, notifier().Popups());

  auto contact = StartProbe("c1", {"available"}, 3);
  EXPECT_TRUE(RunUntil([&] { return notifier().Sounds(EventSound::Enter) == 1; }, 10));
  EXPECT_EQ(1, notifier().Popups());
  EXPECT_EQ(u"Contact 1 (c1@localhost) is online.", notifier().LastPopupText());
  EXPECT_TRUE(RunUntil([&] { return app_->roster->GetOnline("c1@localhost", "") == 0; }, 15));
  EXPECT_GE(notifier().Sounds(EventSound::Exit), 1);
  EXPECT_EQ(1, notifier().Sounds(EventSound::Enter));
  EXPECT_EQ(1, notifier().Popups());
}

}  // namespace
}  // namespace e2e
