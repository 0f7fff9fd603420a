// The session's list of IQ requests awaiting an answer.
#include <cstring>

#include "xmpp/iq_tracking.h"

namespace {

bool same_address(const char* a, const char* b) {
  return mstricmp(a, b) == 0;
}

}  // namespace

void pending_add(MJabberSession* session, const char* target, const char* id, const char* tag) {
  std::lock_guard<std::mutex> hold(session->pending_lock);
  session->pending.push_back(PendingIq{target ? target : "", id ? id : "", tag ? tag : ""});
}

void pending_clear(MJabberSession* session) {
  std::lock_guard<std::mutex> hold(session->pending_lock);
  session->pending.clear();
}

size_t pending_count(MJabberSession* session) {
  std::lock_guard<std::mutex> hold(session->pending_lock);
  return session->pending.size();
}

bool iq_sender_matches(MJabberSession* session, const char* from, const char* target) {
  mstring server = session_server(session);
  if (!server.empty() && same_address(target, server.c_str())) {
    return !*from || same_address(from, server.c_str()) ||
           same_address(from, session_own_bare(session).c_str());
  }
  return same_address(from, target);
}

bool from_own_server(MJabberSession* session, packet* p) {
  mstring server = session_server(session);
  return iq_sender_matches(session, packet_from(p), server.c_str());
}

bool pending_take(MJabberSession* session, packet* p, PendingIq* found) {
  const char* id = packet_id(p);
  const char* from = packet_from(p);
  std::lock_guard<std::mutex> hold(session->pending_lock);
  for (auto it = session->pending.begin(); it != session->pending.end(); ++it) {
    if (std::strcmp(it->id.c_str(), id) == 0 &&
        iq_sender_matches(session, from, it->target.c_str())) {
      *found = *it;
      session->pending.erase(it);
      return true;
    }
  }
  return false;
}
