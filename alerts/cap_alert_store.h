// MCapAlertStore: the alerts the viewer holds, grouped by sender (ordered byte-wise), each
// sender's alerts in arrival order. The store is bounded, because a broadcaster may send for
// as long as the program runs: a sender keeps its newest kMaxAlertsPerSender alerts, and the
// store keeps kMaxSenders senders, dropping the one that has been quiet longest. What was
// dropped is remembered, so that the pages can say so.
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <string>

#include "alerts/cap_alert.h"

class MCapAlertStore {
 public:
  static constexpr std::size_t kMaxAlertsPerSender = 1000;
  static constexpr std::size_t kMaxSenders = 100;

  struct SenderAlerts {
    std::deque<CapAlert> alerts;         // arrival order
    std::size_t dropped = 0;             // older alerts of this sender no longer kept
    unsigned long long lastArrival = 0;  // the store's arrival counter at the newest alert
  };
  using Senders = std::map<std::string, SenderAlerts>;

  enum class AddResult { kNewSender, kAppended, kDuplicate };

  // Keeps the alert unless its sender already holds one with the same identifier.
  AddResult Add(CapAlert alert);

  const Senders& senders() const { return senders_; }
  // The sender's alerts, null when the store holds none from it.
  const SenderAlerts* Find(const mstring& sender) const;
  // The first alert with this identifier: among `preferredSender`'s alerts first, then in
  // sender order. Null when none.
  const CapAlert* FindAlert(const mstring& identifier, const mstring& preferredSender) const;
  // How many senders were dropped to keep the bound.
  std::size_t droppedSenders() const { return droppedSenders_; }

 private:
  void DropQuietestSender();

  Senders senders_;
  std::size_t droppedSenders_ = 0;
  unsigned long long arrivals_ = 0;
};
