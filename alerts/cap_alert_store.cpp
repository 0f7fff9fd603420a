#include "alerts/cap_alert_store.h"

#include <utility>

namespace {

std::string Key(const mstring& text) {
  return std::string(text.c_str(), text.length());
}

const CapAlert* FindIn(const std::deque<CapAlert>& alerts, const mstring& identifier) {
  for (const CapAlert& alert : alerts) {
    if (alert.identifier == identifier) {
      return &alert;
    }
  }
  return nullptr;
}

}  // namespace

MCapAlertStore::AddResult MCapAlertStore::Add(CapAlert alert) {
  std::string key = Key(alert.sender);
  auto found = senders_.find(key);
  if (found != senders_.end()) {
    SenderAlerts& list = found->second;
    if (FindIn(list.alerts, alert.identifier) != nullptr) {
      return AddResult::kDuplicate;
    }
    list.alerts.push_back(std::move(alert));
    list.lastArrival = ++arrivals_;
    if (list.alerts.size() > kMaxAlertsPerSender) {
      list.alerts.pop_front();
      ++list.dropped;
    }
    return AddResult::kAppended;
  }
  if (senders_.size() >= kMaxSenders) {
    DropQuietestSender();
  }
  SenderAlerts list;
  list.alerts.push_back(std::move(alert));
  list.lastArrival = ++arrivals_;
  senders_.emplace(std::move(key), std::move(list));
  return AddResult::kNewSender;
}

void MCapAlertStore::DropQuietestSender() {
  auto quietest = senders_.begin();
  for (auto it = senders_.begin(); it != senders_.end(); ++it) {
    if (it->second.lastArrival < quietest->second.lastArrival) {
      quietest = it;
    }
  }
  if (quietest != senders_.end()) {
    senders_.erase(quietest);
    ++droppedSenders_;
  }
}

const MCapAlertStore::SenderAlerts* MCapAlertStore::Find(const mstring& sender) const {
  auto found = senders_.find(Key(sender));
  return found != senders_.end() ? &found->second : nullptr;
}

const CapAlert* MCapAlertStore::FindAlert(const mstring& identifier,
                                          const mstring& preferredSender) const {
  if (const SenderAlerts* preferred = Find(preferredSender)) {
    if (const CapAlert* alert = FindIn(preferred->alerts, identifier)) {
      return alert;
    }
  }
  for (const auto& [sender, list] : senders_) {
    if (const CapAlert* alert = FindIn(list.alerts, identifier)) {
      return alert;
    }
  }
  return nullptr;
}
