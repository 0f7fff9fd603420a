// The session operations: ids, timestamps, stanza shapes on the wire.
#include "xmpp/operations.h"

#include "wire_fixture.h"
#include "xml/namespaces.h"
#include "xmpp/iq_tracking.h"

namespace {

class OperationsTest : public WireTest {
 protected:
  void SetUp() override {
    WireTest::SetUp();
    OpenStream();
    jab_open_stanzas(conn());  // as once the roster has arrived
    Sent();
  }
};

TEST_F(OperationsTest, PubsubCountersStartAt100AndRunIndependently) {
  // Process-wide counters: this test owns their first use in this program.
  pubsub_create(session_, "pubsub.example.org", "n1");
  pubsub_create(session_, "pubsub.example.org", "n2");
  pubsub_create_instant(session_, "pubsub.example.org");
  pubsub_delete(session_, "pubsub.example.org", "n1");
  std::string sent = Sent();
  EXPECT_NE(std::string::npos, sent.find("id='create100'"));
  EXPECT_NE(std::string::npos, sent.find("id='create101'"));
  EXPECT_NE(std::string::npos, sent.find("id='instantcreate100'"));
  EXPECT_NE(std::string::npos, sent.find("id='delete100'"));
  EXPECT_NE(std::string::npos, sent.find("from='alice@example.org/orvik'"));
}

TEST(Timestamp, FourDigitYearTwoDigitFieldsTAndZ) {
  SYSTEMTIME time{};
  time.wYear = 2007;
  time.wMonth = 3;
  time.wDay = 5;
  time.wHour = 9;
  time.wMinute = 4;
  time.wSecond = 3;
  EXPECT_EQ("2007-03-05T09:04:03Z", utc_timestamp(time));
}

TEST_F(OperationsTest, ChatWithAnEmptyBodyHasNoBodyElement) {
  send_chat(session_, "bob@example.org", "");
  EXPECT_EQ("<message type='chat' to='bob@example.org'/>", Sent());
}

TEST_F(OperationsTest, SubscriptionsCarryTheirWordAsStatus) {
  send_subscribed(session_, "bob@example.org");
  EXPECT_EQ(
      "<presence type='subscribed' to='bob@example.org'><status>subscribed</status>"
      "</presence>",
      Sent());
}

TEST_F(OperationsTest, OwnPresenceCarriesNoShowForAvailable) {
  send_own_presence(session_, "", "available");
  std::string available = Sent();
  EXPECT_EQ(std::string::npos, available.find("<show>"));
  EXPECT_NE(std::string::npos, available.find("<priority>2</priority>"));
  send_own_presence(session_, "Busy", "dnd");
  EXPECT_NE(std::string::npos, Sent().find("<status>Busy</status><show>dnd</show>"));
}

TEST_F(OperationsTest, RoomsAreJoinedWithNicknameAndOwnAddress) {
  join_room(session_, "room@muc.example.org", "alice", "pw");
  EXPECT_EQ(
      "<presence to='room@muc.example.org/alice' from='alice@example.org/orvik'>"
      "<x xmlns='http://jabber.org/protocol/muc'><password>pw</password></x></presence>",
      Sent());
}

TEST_F(OperationsTest, LocationRequestsAreAnsweredOnlyWithLocationSupport) {
  session_->connection.established = 1;
  answer_location_request(session_, "bob@example.org/x", "loc-1");
  EXPECT_EQ(0, publish_location(session_, "bob@example.org"));
  EXPECT_EQ("", Sent());
  host_->Settings().locationSupport = true;
  host_->Settings().latitude = "59.33";
  answer_location_request(session_, "bob@example.org/x", "loc-1");
  std::string answer = Sent();
  EXPECT_EQ(0u, answer.find("<iq type='result' id='loc-1' to='bob@example.org/x'>"));
  EXPECT_NE(std::string::npos, answer.find("<lat>59.33</lat>"));
  EXPECT_NE(std::string::npos, answer.find("<lifetime>10000</lifetime>"));
  EXPECT_EQ(1, publish_location(session_, ""));
  std::string published = Sent();
  EXPECT_LT(published.find("<presence"), published.find("geoloc:alice"));  // presence first
}

TEST_F(OperationsTest, AnswersCarryTheIdOfTheirRequest) {
  session_->connection.established = 1;
  host_->Settings().locationSupport = true;
  // The numeric counter would give '1' and '2': the requests' own ids must be used instead.
  answer_location_request(session_, "bob@example.org/x", "geo-42");
  answer_remoteip_request(session_, "bob@example.org/phone", "ip-7");
  std::string sent = Sent();
  EXPECT_NE(std::string::npos, sent.find("<iq type='result' id='geo-42' to='bob@example.org/x'>"));
  EXPECT_NE(std::string::npos,
            sent.find("<iq type='result' id='ip-7' to='bob@example.org/phone'><query "
                      "xmlns='jabber:iq:remoteip'/>"));
  // A request without an id still gets an answer with one.
  answer_remoteip_request(session_, "bob@example.org/phone", "");
  EXPECT_NE(std::string::npos, Sent().find("<iq type='result' id='1' "));
}

TEST_F(OperationsTest, RemovingAContactUsesTheNumericId) {
  remove_contact(session_, "Friends", "bob@example.org", "Bob");
  EXPECT_EQ(
      "<iq type='set' id='1'><query xmlns='jabber:iq:roster'><item jid='bob@example.org' "
      "name='Bob' subscription='remove'><group>Friends</group></item></query></iq>",
      Sent());
}

}  // namespace

namespace {

// The server refuses an iq without an id: every roster change carries one.
TEST_F(OperationsTest, RosterChangesCarryAnId) {
  add_contact(session_, "Friends", "bob@example.org", "Bob");
  set_contact(session_, "bob@example.org", "Bobby", "Work");
  remove_contact(session_, "Work", "bob@example.org", "Bobby");
  std::string sent = Sent();
  size_t sets = 0;
  for (size_t at = sent.find("<iq"); at != std::string::npos; at = sent.find("<iq", at + 1)) {
    ++sets;
    std::string head = sent.substr(at, sent.find('>', at) - at);
    EXPECT_NE(std::string::npos, head.find(" id='")) << head;
  }
  EXPECT_EQ(sets, 3u);
}

}  // namespace
