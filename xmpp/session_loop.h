// The session's three paths once the stream is open: the receive loop on the login thread,
// parsing and dispatch on the UI thread, and the orderly shutdown.
//
// Lock order: a receive-loop pass takes "IEVENTLOOPMUTEX", then "CONNECTEDMUTEX" inside
// connection_alive; the hand-off to the main frame is a synchronous message sent while
// "IEVENTLOOPMUTEX" is held, and the UI thread then takes the parse lock and, per packet, the
// dispatch lock. Nothing on the UI thread may wait for "IEVENTLOOPMUTEX" while it handles
// received text.
#pragma once

#include "xmpp/session.h"

// The receive loop (login thread): polls, hands received text to the main frame, sends
// keepalives while the line is quiet. Returns 1 when the connection is gone.
int RecvPollLoop(MJabberSession* session);
// The session thread body: runs the loop, then "<p>Sending disconnection</p>" and
// UM_SESSION_ENDED to the main frame.
void session_run(MJabberSession* session);
// What the login thread does after the loop: the post-login timer is killed and the stream
// closed.
void session_after_run(MJabberSession* session);
// Whether the connection is up (socket open, data connection not down).
bool connection_alive(MJabberSession* session);
// The orderly shutdown (user logout): closes the stream in order (stream_close.h: the
// server's answer is awaited up to a second) and waits up to one second for the receive loop
// to end.
void disconnect(MJabberSession* session);
// The main frame's handling of UM_SESSION_RECEIVED (UI thread): parses the text and dispatches
// every stanza it completes.
void session_receive(MJabberSession* session, const char* text);
// The main frame's handling of UM_SESSION_KEEPALIVE.
void session_keepalive(MJabberSession* session, const char* text);
// Installs the five connection callbacks and the trace writer.
void session_install_callbacks(MJabberSession* session);
