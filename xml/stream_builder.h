// The stream tree builder: Expat handlers that turn the server's stream into one xml_node tree
// per stanza, classify each complete stanza as a packet and hand it to the connection.
//
// The builder is strict about what it accepts, because the bytes come from the network:
// - one stanza may take at most max_stanza_bytes of input, checked before bytes reach Expat;
// - Expat 2.5 scans an unfinished token again on every call, so one huge token trickled in
//   small pieces costs quadratic time: the rescanning of one token is capped at
//   STREAM_RESCAN_FACTOR times max_stanza_bytes (no real stanza comes near it);
// - element nesting is bounded by max_depth;
// - a DOCTYPE, entity declaration, processing instruction or comment ends the stream (an XMPP
//   stream may carry none of them, and a DTD is how entity-expansion attacks arrive);
// - a well-formedness error ends the stream.
// Each of these makes stream_builder_feed return -1 with `error` set, so the connection can end.
#pragma once

#include <expat.h>

#include <cstddef>
#include <cstdint>

#include "xml/xml_node.h"

struct packet;

enum {
  STREAM_ERR_NONE = 0,
  STREAM_ERR_XML = 1,        // not well-formed; expat_error holds Expat's code
  STREAM_ERR_FORBIDDEN = 2,  // DOCTYPE, entity declaration, processing instruction or comment
  STREAM_ERR_TOO_LARGE = 3,  // one stanza needs more than max_stanza_bytes
  STREAM_ERR_TOO_DEEP = 4,   // elements nested deeper than max_depth
  STREAM_ERR_NO_PARSER = 5,  // the parser could not be created
};

// Values of the state callback.
enum { STREAM_STATE_CLOSED = 0, STREAM_STATE_OPEN = 1 };

constexpr size_t STREAM_MAX_STANZA_BYTES = 1024 * 1024;
constexpr int STREAM_MAX_DEPTH = 128;  // the stream root counts as one level
constexpr uint64_t STREAM_RESCAN_FACTOR = 16;

typedef void (*stream_state_fn)(void* owner, int state);
// The packet and its tree are released when the callback returns.
typedef void (*stream_packet_fn)(void* owner, packet* p);

struct stream_builder {
  // What the server's stream header said.
  char stream_id[255];  // the header's id, cut to 254 bytes
  int stream_v1;        // 1 when the header's version is "1.0" (any letter case)

  // Installed by the owner (the connection).
  void* owner;
  stream_state_fn on_state;
  stream_packet_fn on_packet;
  size_t max_stanza_bytes;
  int max_depth;

  // Parser state.
  XML_Parser parser;
  xml_node* current;   // the element being built; null between stanzas
  int depth;           // open elements, the stream root included
  int error;           // STREAM_ERR_*; once set, every feed fails
  int expat_error;     // XML_Error of a STREAM_ERR_XML
  uint64_t fed;        // bytes given to the current parser
  uint64_t mark;       // where the last stream-level event ended; fed - mark is the open stanza
  uint64_t event_end;  // end of the top-level event whose callback is running
  int in_feed;
  int halted;           // the parser was stopped from a handler; its late events are ignored
  int restarted;        // stream_builder_restart ran inside a callback of this feed
  uint64_t restart_at;  // where the old stream's bytes ended
  uint64_t rescan_at;   // where the unfinished token Expat holds begins
  uint64_t rescanned;   // bytes of that token Expat has had to scan again so far

  // Text of `current` not yet put into the tree: adjacent runs are collected here and inserted
  // once, because merging into the tree copies the whole text on every run.
  char* text;
  size_t text_length;
  size_t text_capacity;
};

// The callbacks may call stream_builder_restart (or stream_builder_open, which then restarts)
// but nothing else of the builder: the parser that calls them is still running.

// An idle builder with the default limits; no parser yet.
void stream_builder_init(stream_builder* sb, void* owner, stream_state_fn on_state,
                         stream_packet_fn on_packet);
// Prepares for a new stream: creates (or resets) the parser, drops any partial stanza and
// clears the error, the stream id and the version flag. 0, or -1 when no parser can be made.
int stream_builder_open(stream_builder* sb);
// Replaces the parser for a restarted stream (after SASL success, compression, TLS). From a
// callback during a feed, the bytes after the current stanza go to the new parser.
int stream_builder_restart(stream_builder* sb);
// Parses the next bytes of the stream (opening it first when needed). 0, or -1 with `error`
// set; after an error every further call fails until stream_builder_open.
int stream_builder_feed(stream_builder* sb, const char* data, size_t length);
// The input has ended: -1 when the stream was cut short (a truncated or unbalanced stream).
int stream_builder_finish(stream_builder* sb);
// Releases the parser, any partial stanza and the text buffer. The builder may be opened again.
void stream_builder_free(stream_builder* sb);

// A short description of an error code, for the connection's log line.
const char* stream_error_text(int error);
