// How a received CAP alert becomes the viewer's record: every element by name, what stands in
// for missing ones, and the bound on each field.
#include "app/cap_alert_map.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/xml/packet_harness.h"

namespace {

const std::string kOpen =
    "<message from='feed@localhost/res' to='alice@localhost'>"
    "<alert xmlns='http://www.incident.com/cap/1.0'>";
const std::string kClose = "</alert></message>";

// The record of the message made of `alert` (the alert element's content); false when none.
bool Map(const std::string& alert, CapAlert* record) {
  bool mapped = false;
  WithPacket(kOpen + alert + kClose,
             [&](packet* p) { mapped = CapAlertFromMessage(p->x, record); });
  return mapped;
}

TEST(CapAlertMapTest, EveryElementByNameFromAnIndentedAlert) {
  CapAlert alert;
  ASSERT_TRUE(
      Map("\n  <identifier> ID1 </identifier>\n  <sender>nws@example</sender>"
          "<sent>2026-12-07T10:00:00Z</sent><status>Actual</status><msgType>Alert</msgType>"
          "<source>feed</source><scope>Public</scope><note>a note</note>\n  <info>\n"
          "    <category>Met</category><event>Storm</event><urgency>Immediate</urgency>"
          "<certainty>Likely</certainty><eventCode>SVR</eventCode>"
          "<headline>Storm warning</headline><description>Hail &amp; wind</description>"
          "<instruction>Stay in</instruction><contact>desk</contact>"
          "<area><areaDesc>North</areaDesc></area><area><areaDesc>South</areaDesc></area>"
          "\n  </info>\n",
          &alert));
  const mstring expected[] = {"ID1",          "feed",        "2026-12-07T10:00:00Z",
                              "Actual",       "Alert",       "Public",
                              "Met",          "Immediate",   "Likely",
                              "SVR",          "nws@example", "Storm warning",
                              "Hail & wind",  "Stay in",     "desk",
                              "North; South", "a note"};
  const mstring* actual[] = {
      &alert.identifier, &alert.source,   &alert.sent,    &alert.status,      &alert.msgType,
      &alert.scope,      &alert.category, &alert.urgency, &alert.certainty,   &alert.eventCode,
      &alert.sender,     &alert.listText, &alert.summary, &alert.instruction, &alert.contact,
      &alert.affects,    &alert.note};
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(std::string(actual[i]->c_str()), std::string(expected[i].c_str())) << i;
  }
}

TEST(CapAlertMapTest, WhatStandsInForMissingElements) {
  struct Case {
    std::string alert;
    bool mapped;
    std::string sender, listText, eventCode;
  };
  const Case cases[] = {
      {"<sender>s</sender><info><headline>h</headline></info>", false, "", "", ""},
      {"<identifier>  </identifier>", false, "", "", ""},
      {"<identifier>i</identifier>", true, "feed@localhost", "i", ""},
      {"<identifier>i</identifier><info><event>Flood</event></info>", true, "feed@localhost",
       "Flood", ""},
      {"<identifier>i</identifier><info><eventCode><valueName>SAME</valueName><value>EVI</value>"
       "</eventCode></info>",
       true, "feed@localhost", "i", "SAME=EVI"},
  };
  for (const Case& c : cases) {
    CapAlert alert;
    ASSERT_EQ(Map(c.alert, &alert), c.mapped) << c.alert;
    EXPECT_EQ(std::string(alert.sender.c_str()), c.sender) << c.alert;
    EXPECT_EQ(std::string(alert.listText.c_str()), c.listText) << c.alert;
    EXPECT_EQ(std::string(alert.eventCode.c_str()), c.eventCode) << c.alert;
  }
}

TEST(CapAlertMapTest, ALongFieldIsCutBetweenCharacters) {
  // A two-byte character straddles the limit: it goes whole.
  std::string text = std::string(kMaxCapFieldBytes - 1, 'a') + "\xc3\xa9" + "tail";
  CapAlert alert;
  ASSERT_TRUE(Map("<identifier>i</identifier><info><description>" + text + "</description></info>",
                  &alert));
  EXPECT_EQ(std::string(alert.summary.c_str()), std::string(kMaxCapFieldBytes - 1, 'a'));
}

}  // namespace
