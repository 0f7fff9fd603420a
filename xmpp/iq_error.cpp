// Errors of tracked requests, by the tag of the request they answer.
#include <cstdio>

#include "xml/namespaces.h"
#include "xmpp/iq_tracking.h"
#include "xmpp/negotiation.h"

namespace {

constexpr size_t kErrorTextSize = 2048;

bool is(const PendingIq& record, const char* tag) {
  return record.tag == tag;
}

void gateway_login_failed(MJabberSession* session, packet* p) {
  const char* from = packet_from(p);
  mstring name;
  mstring type;
  if (!*from || !session->host->FindService(from, &name, &type) || name.empty())
    return;
  char text[600];
  std::snprintf(text, sizeof text,
                "Error logging into the %s Service. Please check the username and password "
                "settings for this service by choosing \"Setup\" from the \"Menu\" menu.",
                name.c_str());
  session->host->ShowMessageBox(text, nullptr);
}

}  // namespace

void iq_error(MJabberSession* session, packet* p) {
  int32_t code = 0;
  char text[kErrorTextSize];
  packet_error(p, &code, field_buf{text, sizeof text});
  PendingIq record;
  if (!pending_take(session, p, &record))
    return;
  IJabberHost* host = session->host;
  if (is(record, NS_URI_REGISTER)) {
    // Account creation failed; a gateway refusing its form logs nobody out.
    bool own_server = mstricmp(record.target.c_str(), session_server(session).c_str()) == 0;
    if (code == 409 && own_server)
      session_login_refused(session);
  } else if (is(record, TAG_TRANSPORT_REGISTER)) {
    gateway_login_failed(session, p);
  } else if (is(record, NS_URI_AUTH)) {
    if (code == 503) {
      host->ShowMessageBox("Account created. Please reconnect to server to log in.", nullptr);
      host->Logout();
    } else {
      session_login_refused(session);
    }
  } else if (is(record, TAG_DISCO_ITEMS)) {
    request_agents(session);
  } else if (is(record, TAG_AGENTS)) {
    host->ShowMessageBox("Error in retrieving gateway information.", nullptr);
  } else if (is(record, TAG_DIAL)) {
    host->ShowMessageBox("Error in dialing users.", nullptr);
  } else if (is(record, NS_URI_REMOTEIP)) {
    phone_launch(session, nullptr, record.target.c_str());
  } else if (is(record, NS_URI_ROUTING)) {
    if (*text) {
      mstring message = mstring("Error in determining route. ") + text;
      host->ShowMessageBox(message.c_str(), nullptr);
    }
  }
}
