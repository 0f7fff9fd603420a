// The login negotiation: the session's reaction to each step of the server's lead. Order on a
// version 1.0 server: header, features, [STARTTLS, proceed, TLS, restart, features,] PLAIN,
// success, restart, features, [compress, compressed, restart, features,] bind, session,
// roster. Without SASL PLAIN, or on a stream without version 1.0: header, authentication
// query, authentication set, roster.
#pragma once

#include "xml/packet.h"
#include "xmpp/session.h"

// The server's stream header has arrived (state callback 1).
void session_stream_open(MJabberSession* session);
// SUBTYPE_FEATURES.
void session_stream_features(MJabberSession* session, packet* p);
// SUBTYPE_SUCCESS, SUBTYPE_COMPRESSED, SUBTYPE_PROCEED, SUBTYPE_FAILURE.
void session_auth_success(MJabberSession* session);
void session_compressed(MJabberSession* session);
void session_tls_proceed(MJabberSession* session);
void session_failure(MJabberSession* session, packet* p);

// Whether credentials (SASL PLAIN, the legacy authentication, in-band registration) may go out
// on this stream. With "ENCRYPT SESSIONS" on they never travel in clear: a stream that is not
// encrypted ends the login with a line in the log window, and the answer is false.
bool session_credentials_allowed(MJabberSession* session);
// The legacy authentication query, when credentials may go out.
void session_start_legacy_auth(MJabberSession* session);

// The SASL PLAIN message: base64 of NUL, user name, NUL, password (heap text, free()).
char* sasl_plain_message(const char* user, const char* password);
void send_sasl_plain(MJabberSession* session);
// The legacy authentication set for the fields the server offered (AUTH_* flags).
void send_legacy_auth(MJabberSession* session, int fields);

// Answers on the login path (from the IQ result and error handling).
void session_bind_result(MJabberSession* session);
// Session result, or legacy authentication result (`legacy`).
void session_login_complete(MJabberSession* session, bool legacy);
// The account is no longer to be created: the flag of the XMPP account's service entry and
// the session's are cleared.
void session_clear_create_account(MJabberSession* session);
// Registration result from the user's own server.
void session_registration_result(MJabberSession* session);
// Authentication or registration refused.
void session_login_refused(MJabberSession* session);
// After the roster has arrived: own presence, deferred stanzas, service discovery.
void session_after_roster(MJabberSession* session);
// Ends the connection because the stream cannot go on, with a line in the log window.
void session_end_stream(MJabberSession* session, const char* reason);
// The server could not be reached securely or at all: the log lines, the message box (only
// when the login was requested) and login_error LOGIN_ERROR_UNREACHABLE. Used when the socket
// cannot be made and when the certificate is refused, on the direct TLS port or in STARTTLS.
void session_report_unreachable(MJabberSession* session, const char* server);
// <stream:error>: the condition is kept in `stream_error` and the connection ends.
void session_stream_error(MJabberSession* session, packet* p);
