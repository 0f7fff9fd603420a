// The orderly end of a client stream: our closing tag, a short wait for the server's, the TLS
// closing alert, then the socket. Without it the server sees the connection drop as if the
// network had failed (and tells the user's contacts so in the unavailable presence).
#pragma once

struct jconn;

// How long the server gets to answer our closing tag.
constexpr int kStreamCloseWaitMs = 1000;

// How the server took our goodbye.
enum {
  STREAM_CLOSE_NOT_OPEN = 0,   // there was no socket (already closed, or another caller did it)
  STREAM_CLOSE_ANSWERED = 1,   // the server sent its closing tag
  STREAM_CLOSE_ENDED = 2,      // the socket ended (or failed) without the server's tag
  STREAM_CLOSE_NO_ANSWER = 3,  // nothing within the wait, or our tag could not be sent
};

// Closes the stream in order: marks it off (the receive loop stops reading and ends), sends
// "</stream:stream>", reads and discards what the server still sends until its own closing
// tag, the end of the socket or `wait_ms` have passed, then sends the TLS closing alert and
// closes the socket. Safe from any thread and more than once: a second caller waits for the
// first and finds the socket closed. Without a socket it only marks the stream off. Returns
// one of the STREAM_CLOSE_ values.
int jab_close_stream(jconn* c, int wait_ms = kStreamCloseWaitMs);

// The server's closing tag has come: our own answers it now, and the close that follows the
// socket's end waits for nothing more.
void jab_answer_stream_close(jconn* c);
