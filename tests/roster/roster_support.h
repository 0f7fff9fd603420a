// A roster model with a window stand-in that records what the model told it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "roster/jabber_roster.h"
#include "xml/text_convert.h"

inline std::string Narrow(const wmstring& wide) {
  return wide_to_utf8(wide).c_str();
}
inline wmstring Wide(const char* utf8) {
  return utf8_to_wide(mstring(utf8));
}

// Each call as one line: "show Friends", "add Friends a@b", "refresh a@b aim",
// "presence a@b 1 aim", "remove Friends a@b".
class RecordingView : public IRosterView {
 public:
  void ShowGroup(const wmstring& group) override { calls.push_back("show " + Narrow(group)); }
  void AddItem(const RosterItem& item) override {
    calls.push_back("add " + Narrow(item.group) + " " + item.jid.c_str());
  }
  void RefreshItem(const RosterItem& item) override {
    calls.push_back(std::string("refresh ") + item.jid.c_str() + " " + item.serviceType.c_str());
  }
  void PresenceChanged(const RosterItem& item, const mstring& serviceType) override {
    calls.push_back(std::string("presence ") + item.jid.c_str() + " " +
                    std::to_string(item.online) + " " + serviceType.c_str());
  }
  void RemoveItem(const wmstring& group, const mstring& jid) override {
    calls.push_back("remove " + Narrow(group) + " " + jid.c_str());
  }
  std::vector<std::string> calls;
};

class RosterTest : public ::testing::Test {
 protected:
  RosterTest() : mutexes_(77), roster_(mutexes_) {
    roster_.Clear();
    roster_.SetView(&view_);
  }

  // A contact as a roster push files it.
  bool AddContact(const char* group, const char* jid, const char* name = nullptr,
                  const char* subscription = "both") {
    roster_.AddGroup(mstring(group));
    RosterItem item;
    item.jid = jid;
    item.name = Wide(name ? name : jid);
    item.group = Wide(group);
    item.subscription = subscription;
    item.shown = 1;
    return roster_.AddRosterItem(item);
  }

  RosterItem Presence(const char* jid, const char* resource, std::uint32_t online) {
    RosterItem record;
    record.jid = jid;
    record.resource = resource;
    record.online = online;
    record.show = online ? "away" : "";
    record.status = "out";
    return record;
  }

  std::vector<std::string> Jids(const std::list<RosterItem>& items) {
    std::vector<std::string> jids;
    for (const RosterItem& item : items) {
      jids.push_back(item.jid.c_str());
    }
    return jids;
  }

  MAppMutexes mutexes_;
  MJabberRoster roster_;
  RecordingView view_;
};
