#include "roster/roster_intake.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "roster/roster_item.h"
#include "roster/roster_messages.h"
#include "tests/roster/roster_support.h"
#include "tests/xml/packet_harness.h"

namespace {

// What the main frame received, one line per message; it frees each record as the frame does.
struct FrameLog {
  std::vector<std::string> lines;
  std::vector<RosterItem> items;
};

LRESULT FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCT*>(lParam);
    SetWindowLongPtr(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return 0;
  }
  auto* log = reinterpret_cast<FrameLog*>(GetWindowLongPtr(window, GWL_USERDATA));
  if (!log) {
    return DefWindowProc(window, message, wParam, lParam);
  }
  if (message == UM_ROSTER_ADD_GROUP) {
    std::unique_ptr<mstring> group(reinterpret_cast<mstring*>(lParam));
    log->lines.push_back(std::string("group ") + group->c_str());
  } else if (message == UM_ROSTER_ADD_ITEM || message == UM_ROSTER_REMOVE_ITEM) {
    std::unique_ptr<RosterItem> item(reinterpret_cast<RosterItem*>(lParam));
    log->lines.push_back(std::string(message == UM_ROSTER_ADD_ITEM ? "add " : "remove ") +
                         item->jid.c_str() + " " + Narrow(item->group));
    log->items.push_back(*item);
  } else if (message == UM_ROSTER_ADD_SERVICE) {
    std::unique_ptr<AgentEntry> entry(reinterpret_cast<AgentEntry*>(lParam));
    log->lines.push_back(std::string("service ") + entry->jid.c_str() + " " + entry->name.c_str() +
                         " " + entry->description.c_str() + " " + entry->service.c_str() + " " +
                         std::to_string(entry->shown));
  }
  return 0;
}

class IntakeTest : public ::testing::Test {
 protected:
  IntakeTest()
      : subscribeBack_([this](const char* jid) {
          asked_.push_back(jid);
          return sendResult_;
        }) {
    RegisterClass("JINTAKETESTFRAME", FrameProc);
    frame_ = CreateWindowEx("JINTAKETESTFRAME", "frame", HWND_MESSAGE, &log_);
  }
  ~IntakeTest() override { DestroyWindow(frame_); }

  void Roster(const std::string& items, bool onlyOnline = false) {
    WithPacket("<iq type='set'><query xmlns='jabber:iq:roster'>" + items + "</query></iq>",
               [&](packet* p) {
                 roster_item_rec* list = packet_roster_items(packet_query(p));
                 RosterItemsIntake(frame_, list, onlyOnline, subscribeBack_);
                 roster_item_list_free(list);
               });
  }

  FrameLog log_;
  HWND frame_ = nullptr;
  std::vector<std::string> asked_;
  int sendResult_ = 0;
  MSubscribeBack subscribeBack_;
};

TEST_F(IntakeTest, RosterItemsBecomeGroupAndItemMessagesAndRemovals) {
  Roster(
      "<item jid='amy@example.org' name='Am\xC3\xA9lie' subscription='both'>"
      "<group>Friends</group></item>"
      "<item jid='bob@example.org' subscription='to'/>"
      "<item jid='aim.example.org' name='AIM' subscription='both'/>"
      "<item jid='x@aim.example.org/register' subscription='both'/>"
      "<item jid='y@example.org' name='gate/register' subscription='both'/>"
      "<item jid='z@example.org' name='No subscription'/>"
      "<item jid='old@example.org' subscription='remove'/>");
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"group Friends", "add amy@example.org Friends",
                                                  "group Contacts", "add bob@example.org Contacts",
                                                  "remove old@example.org Contacts"}));
  ASSERT_EQ(log_.items.size(), 3u);
  EXPECT_EQ(log_.items[0].name, wmstring(u"Am\u00E9lie"));
  EXPECT_EQ(log_.items[0].subscription, "both");
  EXPECT_EQ(log_.items[0].shown, 1);
  EXPECT_EQ(Narrow(log_.items[1].name), "bob@example.org");  // no name: the jid
  EXPECT_EQ(log_.items[1].online, 0u);
  EXPECT_TRUE(log_.items[1].resource.empty());
}

TEST_F(IntakeTest, OnlyOnlineContactsFileItemsAsNotShown) {
  Roster("<item jid='amy@example.org' subscription='both'/>", true);
  ASSERT_EQ(log_.items.size(), 1u);
  EXPECT_EQ(log_.items[0].shown, 0);
}

TEST_F(IntakeTest, ContactWhoSeesUsIsAskedBackOncePerSessionAndNotWhileARequestIsPending) {
  Roster(
      "<item jid='amy@example.org' subscription='from'/>"
      "<item jid='bob@example.org' subscription='from' ask='subscribe'/>"
      "<item jid='carol@example.org' subscription='both'/>");
  Roster("<item jid='Amy@Example.org' subscription='from'/>");  // the next push: not again
  EXPECT_EQ(asked_, (std::vector<std::string>{"amy@example.org"}));
  subscribeBack_.Reset();  // a new login
  Roster("<item jid='amy@example.org' subscription='from'/>");
  EXPECT_EQ(asked_, (std::vector<std::string>{"amy@example.org", "amy@example.org"}));
}

TEST_F(IntakeTest, FailedSubscribeRequestIsTriedAgainAtTheNextPush) {
  sendResult_ = -1;
  Roster("<item jid='amy@example.org' subscription='from'/>");
  sendResult_ = 0;
  Roster("<item jid='amy@example.org' subscription='from'/>");
  Roster("<item jid='amy@example.org' subscription='from'/>");
  EXPECT_EQ(asked_.size(), 2u);
}

TEST_F(IntakeTest, NamedAgentsBecomeServiceMessages) {
  WithPacket(
      "<iq type='result'><query xmlns='jabber:iq:agents'>"
      "<agent jid='aim.example.org'><name>AIM</name><description>AIM Transport</description>"
      "<service>aim</service></agent>"
      "<agent jid='icq.example.org'><description>no name</description></agent>"
      "<agent jid='msn.example.org'><name>MSN</name></agent>"
      "<agent><name>No jid</name></agent></query></iq>",
      [&](packet* p) {
        agent_rec* agents = packet_agents(packet_query(p));
        AgentsIntake(frame_, agents, false);
        agent_list_free(agents);
      });
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"service aim.example.org AIM AIM Transport aim 0",
                                                  "service msn.example.org MSN   0"}));
}

TEST_F(IntakeTest, NothingIsSentWhenTheFrameIsGone) {
  DestroyWindow(frame_);
  Roster("<item jid='amy@example.org' subscription='both'/>");
  frame_ = nullptr;
  EXPECT_TRUE(log_.lines.empty());
}

}  // namespace
