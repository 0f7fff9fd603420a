// The alert viewer's pages: what each page holds, where each link leads, markup in an alert
// shown as text, and the bound on what it keeps.
#include "alerts/cap_alert_wnd.h"

#include <string>
#include <vector>

#include "tests/ui/ui_support.h"
#include "xml/text_convert.h"

namespace {

const std::string kBarA = "[Index][Close]";
const std::string kBarB = "[Index][Msgs][Close]";

CapAlert Alert(const std::string& sender, const std::string& id, const std::string& text = "") {
  CapAlert alert;
  alert.sender = sender.c_str();
  alert.identifier = id.c_str();
  alert.listText = (text.empty() ? "headline " + id : text).c_str();
  return alert;
}

class CapAlertWndTest : public UiTest {
 protected:
  void SetUp() override {
    wnd_ = std::make_unique<MCapAlertWnd>(nullptr, &stack_, TestFont());
    wnd_->Create(nullptr, 0, 0);
    MoveWindow(wnd_->GetHwnd(), 0, 0, 2000, 400, TRUE);  // wide: one line per paragraph
    wnd_->Relayout();
    wnd_->Show();
  }
  void TearDown() override {
    DestroyWindow(wnd_->GetHwnd());
    stack_.Remove(wnd_.get());
    wnd_.reset();
    UiTest::TearDown();
  }
  // The text the view lays out, in order.
  std::string Shown() {
    ProcessDisplayEvents();
    std::u16string text;
    for (const HtmlOp& op : wnd_->LayoutOps()) {
      text += op.text;
    }
    return wide_to_utf8(wmstring(text.c_str())).c_str();
  }
  std::vector<std::string> Targets() {
    std::vector<std::string> targets;
    for (const HtmlLink& link : wnd_->Links()) {
      targets.push_back(link.target.c_str());
    }
    return targets;
  }
  // Follows the link at `index` in drawing order.
  void Follow(size_t index) {
    std::vector<std::string> targets = Targets();
    ASSERT_LT(index, targets.size());
    wnd_->OpenLink(targets[index].c_str());
  }
  int ScrollPosition() {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(wnd_->GetView(), SB_VERT, &info);
    return info.nPos;
  }
  std::unique_ptr<MCapAlertWnd> wnd_;
};

TEST_F(CapAlertWndTest, EmptyIndexSaysSoBetweenTwoBars) {
  EXPECT_EQ(Shown(), kBarA + "CAP AlertsNo alerts have been received." + kBarA);
  EXPECT_EQ(wnd_->currentPage(), "index");
}

TEST_F(CapAlertWndTest, PagesAndTheLinksBetweenThem) {
  EXPECT_TRUE(wnd_->AddAlert(Alert("wx@example", "W1")));
  EXPECT_TRUE(wnd_->AddAlert(Alert("Civil@example", "C1")));
  EXPECT_FALSE(wnd_->AddAlert(Alert("wx@example", "W1", "a resend")));
  EXPECT_TRUE(wnd_->AddAlert(Alert("wx@example", "W2")));
  EXPECT_TRUE(wnd_->AddAlert(Alert("Civil@example", "W1", "same id")));
  // Byte order: capitals first.
  EXPECT_EQ(Shown(), kBarA + "CAP AlertsCivil@examplewx@example" + kBarA);

  Follow(3);  // the second sender
  EXPECT_EQ(Shown(), kBarA + "Alerts from wx@example:headline W1headline W2" + kBarA);
  EXPECT_EQ(wnd_->currentPage(), "senderindex");

  Follow(3);  // its second alert
  EXPECT_EQ(wnd_->currentPage(), "W2");
  EXPECT_EQ(Shown(), kBarB +
                         "ID:W2Contact:Sent:Status:Type:Scope:Category:Urgency:Certainty:"
                         "Eventcode:Sender:wx@exampleAffects:Instruction:" +
                         kBarB);

  // An identifier two senders use: each sender's list leads to its own alert.
  wnd_->OpenLink("index");
  Follow(2);
  Follow(3);
  EXPECT_NE(Shown().find("Sender:Civil@example"), std::string::npos) << Shown();

  wnd_->OpenLink("no such alert");
  EXPECT_EQ(Shown(), kBarB + kBarB);

  wnd_->OpenLink("close");
  EXPECT_EQ(wnd_->currentPage(), "index");
  wnd_->Show();
  EXPECT_EQ(Shown().substr(0, 24), kBarA + "CAP Alerts");
}

TEST_F(CapAlertWndTest, MarkupInEveryFieldShowsAsText) {
  const std::string hostile = "<b>x</b> & \"q\" 'a' ]]> &amp; <A HREF='file:/etc'>";
  CapAlert alert = Alert(hostile, hostile, hostile);
  for (mstring* field : {&alert.sent, &alert.status, &alert.msgType, &alert.scope, &alert.category,
                         &alert.urgency, &alert.certainty, &alert.eventCode, &alert.summary,
                         &alert.instruction, &alert.contact, &alert.affects}) {
    *field = hostile.c_str();
  }
  ASSERT_TRUE(wnd_->AddAlert(alert));
  EXPECT_EQ(Shown(), kBarA + "CAP Alerts" + hostile + kBarA);
  EXPECT_EQ(Targets()[2], hostile);
  Follow(2);
  EXPECT_EQ(Shown(), kBarA + "Alerts from " + hostile + ":" + hostile + kBarA);
  Follow(2);
  std::string expected = kBarB;
  for (const char* label :
       {"ID:", "Contact:", "Sent:", "Status:", "Type:", "Scope:", "Category:", "Urgency:",
        "Certainty:", "Eventcode:", "Sender:", "", "Affects:", "Instruction:"}) {
    expected += label + hostile;
  }
  EXPECT_EQ(Shown(), expected + kBarB);
}

TEST_F(CapAlertWndTest, KeepsTheNewestAlertsOfEachSenderAndSaysOlderOnesWereDropped) {
  const size_t kept = MCapAlertStore::kMaxAlertsPerSender;
  for (size_t i = 0; i <= kept + 1; ++i) {
    ASSERT_TRUE(wnd_->AddAlert(Alert("busy@example", "A" + std::to_string(i))));
  }
  const MCapAlertStore::SenderAlerts* list = wnd_->store().Find("busy@example");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->alerts.size(), kept);
  EXPECT_EQ(list->alerts.front().identifier, "A2");
  // A dropped identifier is no longer known, so it would be taken again.
  EXPECT_TRUE(wnd_->AddAlert(Alert("busy@example", "A0")));
  wnd_->OpenLink("busy@example");
  std::string shown = Shown();
  EXPECT_EQ(shown.find(kBarA + "Alerts from busy@example:3 older alerts from this sender were "
                               "dropped.headline A3headline A4"),
            0u)
      << shown.substr(0, 200);
  EXPECT_EQ(Targets().size(), 2 * 2 + kept);
}

TEST_F(CapAlertWndTest, KeepsTheSendersHeardFromLastAndSaysOthersWereDropped) {
  const size_t kept = MCapAlertStore::kMaxSenders;
  for (size_t i = 0; i < kept; ++i) {
    ASSERT_TRUE(wnd_->AddAlert(Alert("s" + std::to_string(1000 + i), "x")));
  }
  ASSERT_TRUE(wnd_->AddAlert(Alert("s1000", "y")));  // the first sender speaks again
  ASSERT_TRUE(wnd_->AddAlert(Alert("late", "x")));
  EXPECT_EQ(wnd_->store().senders().size(), kept);
  EXPECT_NE(wnd_->store().Find("s1000"), nullptr);
  EXPECT_EQ(wnd_->store().Find("s1001"), nullptr);
  std::string shown = Shown();
  EXPECT_NE(shown.find("s1099The alerts of 1 older senders were dropped." + kBarA),
            std::string::npos)
      << shown.substr(shown.size() - 200);

  // Read from the bottom of the long list, a page built anew opens at its top.
  SendMessage(wnd_->GetView(), WM_VSCROLL, SB_BOTTOM, 0);
  ASSERT_GT(ScrollPosition(), 0);
  wnd_->OpenLink("index");
  ProcessDisplayEvents();
  EXPECT_EQ(ScrollPosition(), 0);
}

}  // namespace
