// Parsing received text on the UI thread.
#include "xmpp/negotiation.h"
#include "xmpp/session_loop.h"

void session_receive(MJabberSession* session, const char* text) {
  if (!session || !session->conn || !text)
    return;
  session_trace(session, "Adding XML to parse buffer");
  EnterCriticalSection(&session->parse_lock);
  session->parse_buffer += text;
  LeaveCriticalSection(&session->parse_lock);
  session_trace(session, "Added XML to parse buffer");

  EnterCriticalSection(&session->parse_lock);
  session_trace(session, "PARSING XML");
  stream_builder* parser = &session->conn->parser;
  // A parser replaced by a stream restart inside this call is released by the builder once
  // the call has returned.
  int result =
      stream_builder_feed(parser, session->parse_buffer.c_str(), session->parse_buffer.length());
  session_trace(session, "PARSING XML COMPLETE");
  session->parse_buffer = "";
  LeaveCriticalSection(&session->parse_lock);
  // A broken stream can never be parsed again: end the connection (automatic login then
  // reconnects) instead of silently dispatching nothing.
  if (result < 0)
    session_end_stream(session, stream_error_text(parser->error));
}
