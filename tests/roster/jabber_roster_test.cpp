#include "roster/jabber_roster.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/roster/roster_support.h"

namespace {

using Calls = std::vector<std::string>;

TEST_F(RosterTest, ClearLeavesOnlyAnEmptyServicesGroup) {
  AddContact("Friends", "amy@example.org");
  roster_.AddService(AgentEntry{"aim.example.org", "AIM", "", "aim", 1});
  roster_.Clear();
  std::list<RosterGroup> groups = roster_.CopyGroups();
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups.front().name, "Services");
  EXPECT_TRUE(groups.front().items.empty());
  EXPECT_TRUE(roster_.Services().empty());
}

TEST_F(RosterTest, AddingAnExistingGroupReturnsFalseButStillShowsIt) {
  EXPECT_TRUE(roster_.AddGroup(mstring("Friends")));
  EXPECT_FALSE(roster_.AddGroup(Wide("Friends")));
  EXPECT_TRUE(roster_.AddGroup(mstring("friends")));  // exact, case-sensitive names
  EXPECT_EQ(roster_.CopyGroups().size(), 3u);
  EXPECT_EQ(view_.calls, (Calls{"show Friends", "show Friends", "show friends"}));
}

TEST_F(RosterTest, LongGroupNamesCompareCutToTheSameLength) {
  std::string longName(300, 'g');
  ASSERT_TRUE(AddContact(longName.c_str(), "amy@example.org"));
  EXPECT_EQ(roster_.ListItems(Wide(longName.c_str())).size(), 1u);
}

TEST_F(RosterTest, ItemIntoAMissingGroupIsNotFiledButTheWindowIsTold) {
  EXPECT_FALSE(
      roster_.AddItem(Wide("Nowhere"), Wide("Amy"), "amy@example.org", "", "", "both", 1, 0));
  EXPECT_TRUE(roster_.FindItem("amy@example.org", "").jid.empty());
  EXPECT_EQ(view_.calls, (Calls{"add Nowhere amy@example.org"}));
}

TEST_F(RosterTest, ItemForAContactInAnotherGroupMovesItKeepingItsPresence) {
  AddContact("Friends", "amy@example.org", "Amy");
  roster_.UpdatePresence(Presence("amy@example.org", "phone", 1));
  view_.calls.clear();
  ASSERT_TRUE(AddContact("Work", "AMY@example.org", "Amy W", "to"));
  std::list<RosterItem> all = roster_.ListItems(wmstring());
  ASSERT_EQ(all.size(), 1u);  // never in two groups
  const RosterItem& moved = all.front();
  EXPECT_EQ(Narrow(moved.group), "Work");
  EXPECT_EQ(Narrow(moved.name), "Amy W");
  EXPECT_EQ(moved.subscription, "to");
  EXPECT_EQ(moved.online, 1u);
  EXPECT_EQ(moved.resource, "phone");
  EXPECT_TRUE(roster_.ListItems(Wide("Friends")).empty());
  EXPECT_EQ(view_.calls,
            (Calls{"show Work", "remove Friends amy@example.org", "add Work amy@example.org"}));
}

TEST_F(RosterTest, ItemForAContactInTheSameGroupTakesTheServersNameAndSubscription) {
  AddContact("Friends", "amy@example.org", "Amy", "from");
  roster_.UpdatePresence(Presence("amy@example.org", "phone", 1));
  AddContact("Friends", "amy@example.org", "Amy Pond", "both");
  std::list<RosterItem> all = roster_.ListItems(wmstring());
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(Narrow(all.front().name), "Amy Pond");
  EXPECT_EQ(all.front().subscription, "both");
  EXPECT_EQ(all.front().online, 1u);
}

TEST_F(RosterTest, PresenceFallsBackToTheBareJidAndOverwritesTheResource) {
  AddContact("Friends", "amy@example.org", "Amy");
  roster_.UpdatePresence(Presence("amy@example.org", "phone", 1));
  roster_.UpdatePresence(Presence("Amy@Example.org", "laptop", 1));
  RosterItem item = roster_.GetItem("amy@example.org", "");
  EXPECT_EQ(item.resource, "laptop");
  EXPECT_EQ(item.show, "away");
  EXPECT_EQ(item.status, "out");
  EXPECT_EQ(Narrow(item.name), "Amy");       // a presence never renames
  EXPECT_EQ(Narrow(item.group), "Friends");  // nor moves
  EXPECT_EQ(roster_.GetOnline("amy@example.org", "laptop"), 1u);
  roster_.UpdatePresence(Presence("amy@example.org", "laptop", 0));
  EXPECT_EQ(roster_.GetOnline("amy@example.org", ""), 0u);
}

TEST_F(RosterTest, PresenceFromAStrangerChangesNothing) {
  AddContact("Friends", "amy@example.org");
  view_.calls.clear();
  roster_.UpdatePresence(Presence("eve@example.org", "x", 1));
  EXPECT_TRUE(view_.calls.empty());
  EXPECT_EQ(roster_.GetOnline("eve@example.org", ""), 0u);
  EXPECT_EQ(&roster_.FindItem("eve@example.org", "x"), &MJabberRoster::EmptyItem());
}

TEST_F(RosterTest, AnnouncedGatewayGivesItsTypeToTheContactsOfItsDomain) {
  AddContact("Friends", "bob@aim.example.org");
  AddContact("Friends", "carol@icq.example.org");
  AddContact("Friends", "dan@example.org");
  RosterItem typed = roster_.GetItem("carol@icq.example.org", "");
  typed.serviceType = "other";
  ASSERT_TRUE(roster_.UpdateItem(typed));
  view_.calls.clear();
  roster_.AddService(AgentEntry{"aim.example.org", "AIM Transport", "AIM", "aim", 1});
  roster_.AddService(AgentEntry{"icq.example.org", "ICQ", "", "icq", 0});
  EXPECT_EQ(roster_.GetItem("bob@aim.example.org", "").serviceType, "aim");
  EXPECT_EQ(roster_.GetItem("carol@icq.example.org", "").serviceType, "other");  // kept
  EXPECT_EQ(roster_.GetItem("dan@example.org", "").serviceType, "");
  EXPECT_EQ(view_.calls,
            (Calls{"refresh bob@aim.example.org aim", "add Services aim.example.org"}));
  RosterItem service = roster_.GetItem("aim.example.org", "");
  EXPECT_EQ(Narrow(service.group), "Services");
  EXPECT_EQ(Narrow(service.name), "AIM Transport");
  EXPECT_EQ(service.locationRequested, 1);
  // A contact added after the announcement takes the type at once.
  AddContact("Friends", "erin@aim.example.org");
  EXPECT_EQ(roster_.GetItem("erin@aim.example.org", "").serviceType, "aim");
}

TEST_F(RosterTest, ServicesAreRecordedOncePerJidAndFoundIgnoringCase) {
  roster_.AddService(AgentEntry{"aim.example.org", "AIM", "", "aim", 1});
  roster_.AddService(AgentEntry{"AIM.example.org", "AIM again", "", "aim", 1});
  EXPECT_EQ(roster_.Services().size(), 1u);
  EXPECT_EQ(roster_.FindServiceByJid("Aim.Example.Org").name, "AIM");
  EXPECT_EQ(roster_.FindServiceByName("aim").jid, "aim.example.org");
  EXPECT_EQ(roster_.FindServiceByType("AIM").jid, "aim.example.org");
  AgentEntry none = roster_.FindServiceByType("msn");
  EXPECT_TRUE(none.jid.empty() && none.name.empty() && none.service.empty());
  EXPECT_EQ(none.shown, 0);
}

TEST_F(RosterTest, RemovalNamingAnotherGroupRemovesTheContactWhereverItIsFiled) {
  AddContact("Friends", "amy@example.org");
  AddContact("Friends", "bob@example.org");
  view_.calls.clear();
  RosterItem byServer;  // a roster removal names no group: the intake says "Contacts"
  byServer.jid = "AMY@example.org";
  byServer.group = Wide("Contacts");
  EXPECT_TRUE(roster_.RemoveItem(byServer));
  EXPECT_EQ(view_.calls, (Calls{"remove Friends amy@example.org"}));
  RosterItem again;
  again.jid = "bob@example.org";
  again.group = Wide("FRIENDS");  // group compared ignoring case
  EXPECT_TRUE(roster_.RemoveItem(again));
  EXPECT_FALSE(roster_.RemoveItem(again));
  EXPECT_TRUE(roster_.ListItems(wmstring()).empty());
}

TEST_F(RosterTest, ListItemsCopiesOneGroupIgnoringCaseOrAllInGroupOrder) {
  AddContact("Work", "w1@example.org");
  AddContact("Friends", "f1@example.org");
  AddContact("Work", "w2@example.org");
  roster_.AddService(AgentEntry{"aim.example.org", "AIM", "", "aim", 1});
  EXPECT_EQ(Jids(roster_.ListItems(wmstring())),
            (std::vector<std::string>{"aim.example.org", "w1@example.org", "w2@example.org",
                                      "f1@example.org"}));
  EXPECT_EQ(Jids(roster_.ListItems(Wide("work"))),
            (std::vector<std::string>{"w1@example.org", "w2@example.org"}));
}

TEST_F(RosterTest, UpdateItemMatchesTheServiceTypeAndReplaceItemMovesToTheGroupEnd) {
  AddContact("Friends", "amy@example.org");
  AddContact("Friends", "bob@example.org");
  RosterItem located = roster_.GetItem("amy@example.org", "");
  located.lat = "52.5";
  located.hasLocation = 1;
  located.serviceType = "aim";  // the entry has none: it still matches
  view_.calls.clear();
  EXPECT_TRUE(roster_.UpdateItem(located));
  EXPECT_EQ(roster_.GetItem("amy@example.org", "").lat, "52.5");
  EXPECT_EQ(view_.calls, (Calls{"refresh amy@example.org aim"}));
  located.serviceType = "icq";  // now it has "aim": no match
  EXPECT_FALSE(roster_.UpdateItem(located));

  RosterItem amy = roster_.GetItem("amy@example.org", "");
  amy.status = "moved";
  EXPECT_TRUE(roster_.ReplaceItem(amy));
  EXPECT_EQ(Jids(roster_.ListItems(Wide("Friends"))),
            (std::vector<std::string>{"bob@example.org", "amy@example.org"}));
  amy.jid = "nobody@example.org";
  EXPECT_FALSE(roster_.ReplaceItem(amy));
}

TEST_F(RosterTest, FindItemNamesTheHoldingGroup) {
  AddContact("Friends", "amy@example.org");
  wmstring group;
  EXPECT_EQ(roster_.FindItem("amy@example.org", "any", &group).jid, "amy@example.org");
  EXPECT_EQ(Narrow(group), "Friends");
}

// Another thread copies the lists (as the location thread does) while presences arrive and
// contacts come and go; every copy it takes is whole.
TEST_F(RosterTest, CopiesFromAnotherThreadSeeWholeLists) {
  roster_.SetView(nullptr);
  std::atomic<bool> stop{false};
  std::atomic<int> broken{0};
  std::thread reader([&] {
    while (!stop) {
      for (const RosterGroup& group : roster_.CopyGroups()) {
        for (const RosterItem& item : group.items) {
          broken += item.jid.empty() || !(RosterKey(item.group) == group.name) ? 1 : 0;
        }
      }
    }
  });
  for (int i = 0; i < 300; ++i) {
    std::string jid = "c" + std::to_string(i % 7) + "@example.org";
    AddContact(i % 2 ? "Friends" : "Work", jid.c_str());
    roster_.UpdatePresence(Presence(jid.c_str(), "r", i % 2));
  }
  stop = true;
  reader.join();
  EXPECT_EQ(broken, 0);
  EXPECT_EQ(roster_.ListItems(wmstring()).size(), 7u);
}

}  // namespace

// The location thread marks a contact where it is filed: once, whatever the case of the jid,
// and without losing the presence the user-interface thread set meanwhile.
TEST_F(RosterTest, MarkingLocationRequestedSetsTheFlagInPlaceOnce) {
  AddContact("Friends", "amy@example.org", "Amy");
  roster_.UpdatePresence(Presence("amy@example.org", "phone", 1));
  struct Mark {
    const char* jid;
    bool newlyMarked;
  };
  for (Mark mark : {Mark{"nobody@example.org", false}, Mark{"AMY@example.org", true},
                    Mark{"amy@example.org", false}}) {
    EXPECT_EQ(roster_.MarkLocationRequested(mark.jid), mark.newlyMarked) << mark.jid;
  }
  RosterItem amy = roster_.GetItem("amy@example.org", "");
  EXPECT_EQ(amy.locationRequested, 1u);
  EXPECT_EQ(amy.online, 1u);
}
