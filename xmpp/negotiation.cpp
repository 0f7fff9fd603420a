// Stream negotiation: stream open, features, SASL PLAIN, STARTTLS, compression, bind.
#include "xmpp/negotiation.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "xml/base64.h"
#include "xml/namespaces.h"
#include "xml/xml_escape.h"
#include "xmpp/iq_tracking.h"
#include "xmpp/session_messages.h"
#include "xmpp/stanza_send.h"

namespace {

bool is_encrypted(MJabberSession* session) {
  return session->conn->tls != nullptr;
}

void send_registration(MJabberSession* session) {
  session->register_pending = 0;
  if (!session_credentials_allowed(session))
    return;
  request_register(session);
  session->conn->state = JCONN_STATE_AUTH;
}

// The TLS upgrade of the open socket failed. A refused certificate reads as on the direct TLS
// port; any other failure ends the stream with its reason.
void tls_failed(MJabberSession* session) {
  jconn* c = session->conn;
  if (!c->certificate_refused) {
    session_end_stream(session, c->error_text);
    return;
  }
  if (c->stream_failed)
    return;
  c->stream_failed = 1;
  jab_shutdown_socket(c);
  session_report_unreachable(session, session->server.c_str());
}

}  // namespace

void session_stream_open(MJabberSession* session) {
  jconn* c = session->conn;
  if (session->state == SESSION_ONLINE) {
    // The stream restarted after authentication (or compression): nothing to send.
    session_clear_create_account(session);
    if (session->host->Settings().loginOnStartup)
      session->host->SetLoginRequested(false);
    return;
  }
  if (session->create_account) {
    // On a clear version 1.0 stream the server may offer STARTTLS: the account's password
    // waits for the features, so it never travels before encryption is settled.
    if (c->stream_v1 && !is_encrypted(session))
      session->register_pending = 1;
    else
      send_registration(session);
  } else if (!c->stream_v1) {
    session_start_legacy_auth(session);
  }
}

bool session_credentials_allowed(MJabberSession* session) {
  jconn* c = session->conn;
  if (!c || c->stream_failed)
    return false;
  if (!session->host->Settings().encryptSessions || is_encrypted(session))
    return true;
  // The user asked for encryption: this clear stream (the retry on the port below a failed
  // direct TLS connection) could only be secured by STARTTLS, which the server did not offer.
  session_end_stream(session, "the server does not offer encryption");
  return false;
}

void session_start_legacy_auth(MJabberSession* session) {
  if (session_credentials_allowed(session))
    request_auth_query(session);
}

void session_stream_features(MJabberSession* session, packet* p) {
  jconn* c = session->conn;
  session->features = packet_features(p);
  if (session->state != SESSION_ONLINE) {
    if ((session->features & FEATURE_STARTTLS) && !is_encrypted(session)) {
      c->tls_requested = 1;
      jab_send_starttls(c);
      return;
    }
    if (!session_credentials_allowed(session))
      return;
    if (session->register_pending)
      send_registration(session);
    if (session->features & FEATURE_SASL_PLAIN)
      send_sasl_plain(session);
    else
      session_start_legacy_auth(session);
    return;
  }
  if (session->host->CompressionSwitch() && (session->features & FEATURE_COMPRESSION) &&
      !c->compressed) {
    jab_send_compress(c);
    return;
  }
  if (session->features & FEATURE_BIND)
    request_bind(session);
}

char* sasl_plain_message(const char* user, const char* password) {
  std::string message;
  message += '\0';
  message += user ? user : "";
  message += '\0';
  message += password ? password : "";
  return base64_encode_line(nullptr, message.data(), message.size());
}

void send_sasl_plain(MJabberSession* session) {
  if (!session_credentials_allowed(session))
    return;
  jconn* c = session->conn;
  char* encoded = sasl_plain_message(c->user ? c->user->user : "", c->password);
  if (!encoded)
    return;
  jab_send_sasl_plain(c, encoded);
  std::free(encoded);
}

void send_legacy_auth(MJabberSession* session, int fields) {
  if (!session_credentials_allowed(session))
    return;
  bool digest = (fields & AUTH_DIGEST) && session->host->Settings().useHashAuth;
  request_auth(session, digest ? 1 : 0);
  jconn* c = session->conn;
  c->state = JCONN_STATE_AUTH;
  if (c->on_state)
    c->on_state(c, JCONN_EVENT_AUTH_SENT);
}

void session_auth_success(MJabberSession* session) {
  session->state = SESSION_ONLINE;
  session->was_online = true;
  PostMessage(session->host->MainWindow(), UM_LOGGED_IN, 0, 0);
  jab_restart_stream(session->conn);
}

void session_compressed(MJabberSession* session) {
  session->conn->compressed = 1;
  jab_restart_stream(session->conn);
}

void session_tls_proceed(MJabberSession* session) {
  jconn* c = session->conn;
  if (!c->tls_requested) {
    session_trace(session, "proceed without a STARTTLS request: ignored\n");
    return;
  }
  c->tls_requested = 0;
  // Bytes that came in clear behind the proceed would be read as if they had come through
  // TLS (an attacker on the path could slip stanzas into the secured stream): refuse them.
  if (c->parser.fed > c->parser.event_end) {
    session_end_stream(session, "the server sent data in clear after agreeing to TLS");
    return;
  }
  if (jab_start_tls(c) < 0) {
    tls_failed(session);
    return;
  }
  jab_restart_stream(c);
}

void session_failure(MJabberSession* session, packet* p) {
  const char* ns = xml_node_get_attrib(p->x, "xmlns");
  if (safe_strcmp(ns, NS_URI_TLS) == 0) {
    session->conn->tls_requested = 0;
    session_end_stream(session, "the server could not start TLS");
    return;
  }
  if (safe_strcmp(ns, NS_URI_COMPRESS) == 0) {
    // The session goes on uncompressed.
    if (session->features & FEATURE_BIND)
      request_bind(session);
    return;
  }
  session_login_refused(session);
}

void session_bind_result(MJabberSession* session) {
  request_session(session);
}

void session_stream_error(MJabberSession* session, packet* p) {
  // The condition is the error's first element (the text, if any, comes after it).
  xml_node* condition = xml_node_first_content(p->x);
  const char* name =
      condition && condition->type == XML_NODE_TAG ? condition->name : "undefined-condition";
  std::string condition_name = std::string(name).substr(0, 64);  // a name, not an essay
  session->stream_error = condition_name.c_str();
  std::string reason = "the server ended the stream (" + condition_name;
  if (const char* text = xml_node_get_tag_data(p->x, "text")) {
    // Server text goes into the log window's markup: cut (at a character boundary), then
    // escaped, so no entity is cut in half.
    std::string shown(text);
    size_t end = std::min<size_t>(shown.size(), 200);
    while (end < shown.size() && end > 0 && (static_cast<unsigned char>(shown[end]) & 0xC0) == 0x80)
      --end;
    shown.resize(end);
    char* escaped = xml_escape(p->pool, shown.c_str());
    reason += std::string(": ") + (escaped ? escaped : "");
  }
  reason += ")";
  session_end_stream(session, reason.c_str());
}

void session_end_stream(MJabberSession* session, const char* reason) {
  jconn* c = session->conn;
  if (!c || c->stream_failed)
    return;
  c->stream_failed = 1;
  // Built whole: a cut line would lose its closing tag (the reason may carry server text).
  std::string line = std::string("<p>Connection to the server ended: ") + reason + ".</p>";
  session->host->AppendLog(line.c_str());
  session_trace(session, line.c_str());
  jab_shutdown_socket(c);
}
