// IQ answers matched to their requests: by id, from the address the request went to, and
// acted on by tag.
#include "xmpp/iq_tracking.h"

#include "wire_fixture.h"
#include "xml/namespaces.h"

namespace {

class IqTrackingTest : public WireTest {
 protected:
  void SetUp() override {
    WireTest::SetUp();
    OpenStream();
    Sent();
  }
  std::string LastId() { return session_->pending.back().id.c_str(); }
};

TEST_F(IqTrackingTest, OwnServerAnswersComeWithoutFromOrFromTheDomainOrTheBareAddress) {
  EXPECT_TRUE(iq_sender_matches(session_, "", "example.org"));
  EXPECT_TRUE(iq_sender_matches(session_, "example.org", "example.org"));
  EXPECT_TRUE(iq_sender_matches(session_, "Example.ORG", "example.org"));
  EXPECT_TRUE(iq_sender_matches(session_, "alice@example.org", "example.org"));
  EXPECT_FALSE(iq_sender_matches(session_, "bob@example.org", "example.org"));
  EXPECT_FALSE(iq_sender_matches(session_, "alice@example.org/other", "example.org"));
  EXPECT_TRUE(iq_sender_matches(session_, "gw.example.org", "gw.example.org"));
  EXPECT_FALSE(iq_sender_matches(session_, "", "gw.example.org"));
  EXPECT_FALSE(iq_sender_matches(session_, "evil.example", "gw.example.org"));
}

TEST_F(IqTrackingTest, AnswerFromAnotherAddressLeavesTheRequestPending) {
  request_bind(session_);
  Sent();
  std::string id = LastId();
  Server("<iq type='result' from='mallory@evil.example/x' id='" + id + "'/>");
  EXPECT_EQ("", Sent());
  EXPECT_EQ(1u, PendingWithTag(NS_URI_BIND));
  Server("<iq type='result' id='" + id + "'/>");
  EXPECT_NE(std::string::npos, Sent().find(NS_URI_SESSION));
  EXPECT_EQ(0u, PendingWithTag(NS_URI_BIND));
}

TEST_F(IqTrackingTest, TwoRequestsToOneTargetAreToldApartById) {
  request_remoteip(session_, "bob@example.org/phone");
  request_ilocation(session_, "bob@example.org/phone");
  std::string geoloc_id = LastId();
  Server("<iq type='result' from='bob@example.org/phone' id='" + geoloc_id + "'/>");
  ASSERT_EQ(1u, session_->pending.size());
  EXPECT_EQ(NS_URI_REMOTEIP, session_->pending[0].tag);
}

TEST_F(IqTrackingTest, UnknownIdsAreIgnored) {
  request_roster(session_);
  Server("<iq type='result' id='nothing-like-it'/>");
  Server("<iq type='error' id='nothing-like-it'><error code='500'/></iq>");
  EXPECT_EQ(1u, session_->pending.size());
  EXPECT_TRUE(host_->MessageBoxes().empty());
}

TEST_F(IqTrackingTest, DiscoErrorFallsBackToAgentsAndTheirErrorIsShown) {
  request_disco_items(session_);
  Sent();
  Server("<iq type='error' from='example.org' id='" + LastId() + "'><error code='501'/></iq>");
  EXPECT_NE(std::string::npos, Sent().find("<query xmlns='jabber:iq:agents'/>"));
  ASSERT_EQ(1u, PendingWithTag(TAG_AGENTS));
  Server("<iq type='error' id='" + LastId() + "'><error code='404'/></iq>");
  ASSERT_EQ(1u, host_->MessageBoxes().size());
  EXPECT_EQ("Error in retrieving gateway information.", host_->MessageBoxes()[0]);
}

TEST_F(IqTrackingTest, DiscoItemsLeadToInfoQueriesBoundToEachItem) {
  request_disco_items(session_);
  Sent();
  Server("<iq type='result' from='example.org' id='" + LastId() +
         "'><query xmlns='http://jabber.org/protocol/disco#items'>"
         "<item jid='conference.example.org'/><item jid='collab.example.org'/></query></iq>");
  std::string sent = Sent();
  EXPECT_EQ(2, Count(sent, "disco#info"));
  ASSERT_EQ(2u, PendingWithTag(TAG_DISCO_INFO));
  const PendingIq& collab = session_->pending.back();
  EXPECT_EQ("collab.example.org", collab.target);
  // The dial request needs the collaboration service, found through its identity.
  request_dial(session_);
  ASSERT_EQ(1u, host_->MessageBoxes().size());
  EXPECT_EQ("This server does not support this operation.", host_->MessageBoxes()[0]);
  EXPECT_EQ("", Sent());
  Server("<iq type='result' from='collab.example.org' id='" + std::string(collab.id.c_str()) +
         "'><query xmlns='http://jabber.org/protocol/disco#info'>"
         "<identity category='collaboration' type='im'/>"
         "<feature var='http://jabber.org/protocol/commands'/></query></iq>");
  EXPECT_EQ("collab.example.org", session_->collab_service);
  EXPECT_NE(std::string::npos, Sent().find("id='jeci_query_id'"));
  request_dial(session_);
  EXPECT_NE(std::string::npos, Sent().find("<command xmlns='http://jabber.org/protocol/commands' "
                                           "action='execute' node='dial'/>"));
}

TEST_F(IqTrackingTest, RouteErrorShowsTheServerText) {
  request_route(session_, "route.example.org", "bob@example.org", "carol@example.org");
  Server("<iq type='error' from='route.example.org' id='" + LastId() +
         "'><error code='404'><text xmlns='urn:ietf:params:xml:ns:xmpp-stanzas'>no road</text>"
         "</error></iq>");
  ASSERT_EQ(1u, host_->MessageBoxes().size());
  EXPECT_EQ("Error in determining route. no road", host_->MessageBoxes()[0]);
  request_route(session_, "route.example.org", "bob@example.org", "carol@example.org");
  Server("<iq type='error' from='route.example.org' id='" + LastId() + "'/>");
  EXPECT_EQ(1u, host_->MessageBoxes().size());  // no text, no message
}

TEST_F(IqTrackingTest, PhoneLauncherReportsTheMissingProgram) {
  request_remoteip(session_, "bob@example.org/phone");
  Server("<iq type='result' from='bob@example.org/phone' id='" + LastId() +
         "'><query xmlns='jabber:iq:remoteip'/><host>192.0.2.7</host></iq>");
  ASSERT_EQ(1u, host_->MessageBoxes().size());
  EXPECT_EQ("Cannot launch Brightwave Telo(tm). Please reinstall Telo.", host_->MessageBoxes()[0]);
}

TEST_F(IqTrackingTest, RosterResultsCountOnlyFromTheOwnServer) {
  Server(
      "<iq type='result' from='mallory@evil.example' id='x'>"
      "<query xmlns='jabber:iq:roster'><item jid='fake@evil.example'/></query></iq>");
  EXPECT_EQ(0, host_->roster_results());
  EXPECT_EQ("", Sent());
  Server(
      "<iq type='result' id='x'><query xmlns='jabber:iq:roster'>"
      "<item jid='bob@example.org'/><item jid='carol@example.org'/></query></iq>");
  EXPECT_EQ(1, host_->roster_results());
  EXPECT_EQ(2, host_->roster_items());
  // Then the own presence and the service discovery request.
  std::string sent = Sent();
  size_t presence = sent.find("<presence");
  size_t disco = sent.find("disco#items");
  ASSERT_NE(std::string::npos, presence);
  ASSERT_NE(std::string::npos, disco);
  EXPECT_LT(presence, disco);
}

}  // namespace
