// MSubscribeBack: asks a contact who sees our presence (subscription "from") for a subscription
// back, at most once per contact per session, and never while our own request is pending (the
// roster item carries `ask`). Without the limit, every roster push for such a contact would send
// another request. The login resets it at each new session.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "xml/mstring.h"

struct MJabberSession;

class MSubscribeBack {
 public:
  // Sends the subscribe presence to a bare jid; -1 on failure (then it may be asked again).
  using Sender = std::function<int(const char* jid)>;
  explicit MSubscribeBack(Sender sender);

  // Asks `jid` unless it was asked in this session; true when a request went out now.
  bool Ask(const char* jid);
  // Forgets who was asked: called at each login.
  void Reset();

 private:
  Sender sender_;
  std::set<std::string> asked_;  // lower-cased bare jids
};

// The sender of a live session: send_subscribe (deferred while the session cannot send).
MSubscribeBack::Sender SubscribeSenderFor(MJabberSession* session);
