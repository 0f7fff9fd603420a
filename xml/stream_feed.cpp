// The stream builder's life cycle and the feeding loop that enforces the stanza byte cap.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "xml/stream_builder_internal.h"

namespace {

void clear_stream_state(stream_builder* sb) {
  stream_drop_stanza(sb);
  sb->depth = 0;
  sb->error = STREAM_ERR_NONE;
  sb->expat_error = 0;
  sb->fed = sb->mark = sb->event_end = 0;
  sb->rescan_at = sb->rescanned = 0;
  sb->halted = 0;
}

// After a parse call Expat holds the start of an unfinished token, which it scans again on
// the next call. The count starts over with every new token.
void count_rescan(stream_builder* sb, XML_Parser parser) {
  XML_Index parsed = XML_GetCurrentByteIndex(parser);
  if (parsed < 0)
    return;
  uint64_t at = static_cast<uint64_t>(parsed);
  uint64_t held = sb->fed - at;
  if (held == 0 || at != sb->rescan_at) {
    sb->rescan_at = at;
    sb->rescanned = 0;
  }
  sb->rescanned += held;
  if (sb->rescanned > STREAM_RESCAN_FACTOR * sb->max_stanza_bytes)
    sb->error = STREAM_ERR_TOO_LARGE;
}

// Feeds one piece to the parser. Returns the number of bytes the current parser consumed:
// all of them, or fewer when a restart inside a callback handed the rest to a new parser.
size_t parse_piece(stream_builder* sb, const char* data, size_t length) {
  XML_Parser parser = sb->parser;
  uint64_t start = sb->fed;
  sb->fed += length;
  XML_Status status = XML_Parse(parser, data, static_cast<int>(length), XML_FALSE);
  if (sb->restarted) {
    XML_ParserFree(parser);  // its parse call has returned: now it may go
    sb->restarted = 0;
    sb->halted = 0;
    return static_cast<size_t>(sb->restart_at - start);
  }
  if (status == XML_STATUS_ERROR && !sb->error) {
    sb->error = STREAM_ERR_XML;
    sb->expat_error = XML_GetErrorCode(parser);
  }
  if (!sb->error)
    count_rescan(sb, parser);
  return length;
}

}  // namespace

void stream_builder_init(stream_builder* sb, void* owner, stream_state_fn on_state,
                         stream_packet_fn on_packet) {
  std::memset(sb, 0, sizeof *sb);
  sb->owner = owner;
  sb->on_state = on_state;
  sb->on_packet = on_packet;
  sb->max_stanza_bytes = STREAM_MAX_STANZA_BYTES;
  sb->max_depth = STREAM_MAX_DEPTH;
}

int stream_builder_open(stream_builder* sb) {
  if (sb->in_feed)
    return stream_builder_restart(sb);
  clear_stream_state(sb);
  sb->stream_id[0] = '\0';
  sb->stream_v1 = 0;
  if (sb->parser && !stream_parser_reset(sb, sb->parser)) {
    XML_ParserFree(sb->parser);
    sb->parser = nullptr;
  }
  if (!sb->parser)
    sb->parser = stream_parser_new(sb);
  if (!sb->parser) {
    sb->error = STREAM_ERR_NO_PARSER;
    return -1;
  }
  return 0;
}

int stream_builder_restart(stream_builder* sb) {
  XML_Parser fresh = stream_parser_new(sb);
  if (sb->in_feed && sb->parser && !sb->restarted) {
    // The running parser cannot be released inside its own callback: stop it, and let the
    // feeding loop free it and pass the rest of the bytes to the new one.
    XML_StopParser(sb->parser, XML_FALSE);
    sb->restarted = 1;
    sb->halted = 1;
    sb->restart_at = sb->event_end;
  } else if (sb->parser) {
    XML_ParserFree(sb->parser);  // not running: a second restart, or outside a feed
  }
  sb->parser = fresh;
  stream_drop_stanza(sb);
  sb->depth = 0;
  sb->fed = sb->mark = sb->event_end = 0;
  sb->rescan_at = sb->rescanned = 0;
  if (!fresh) {
    sb->error = STREAM_ERR_NO_PARSER;
    return -1;
  }
  return 0;
}

int stream_builder_feed(stream_builder* sb, const char* data, size_t length) {
  if (!sb->parser && !sb->error && stream_builder_open(sb) < 0)
    return -1;
  if (sb->error)
    return -1;
  sb->in_feed = 1;
  while (length > 0 && !sb->error) {
    // Bytes fed since the last stream-level event belong to the stanza being read; never
    // give Expat more than the cap allows for it.
    uint64_t open_stanza = sb->fed - sb->mark;
    if (open_stanza >= sb->max_stanza_bytes) {
      sb->error = STREAM_ERR_TOO_LARGE;
      break;
    }
    uint64_t room = sb->max_stanza_bytes - open_stanza;
    size_t piece = static_cast<size_t>(std::min<uint64_t>({length, room, 1u << 30}));
    size_t used = parse_piece(sb, data, piece);
    data += used;
    length -= used;
  }
  sb->in_feed = 0;
  if (sb->error) {
    stream_drop_stanza(sb);
    return -1;
  }
  return 0;
}

int stream_builder_finish(stream_builder* sb) {
  if (sb->error)
    return -1;
  if (!sb->parser)
    return 0;
  XML_Parser parser = sb->parser;
  sb->in_feed = 1;
  XML_Status status = XML_Parse(parser, "", 0, XML_TRUE);
  sb->in_feed = 0;
  if (sb->restarted) {
    // A callback restarted the stream at its very end: the new one has seen nothing yet.
    XML_ParserFree(parser);
    sb->restarted = 0;
    sb->halted = 0;
    return sb->error ? -1 : 0;
  }
  if (status == XML_STATUS_ERROR && !sb->error) {
    sb->error = STREAM_ERR_XML;
    sb->expat_error = XML_GetErrorCode(parser);
  }
  if (sb->error) {
    stream_drop_stanza(sb);
    return -1;
  }
  return 0;
}

void stream_builder_free(stream_builder* sb) {
  stream_drop_stanza(sb);
  if (sb->parser)
    XML_ParserFree(sb->parser);
  sb->parser = nullptr;
  std::free(sb->text);
  sb->text = nullptr;
  sb->text_capacity = 0;
}

const char* stream_error_text(int error) {
  switch (error) {
    case STREAM_ERR_NONE:
      return "no error";
    case STREAM_ERR_XML:
      return "the stream is not well-formed XML";
    case STREAM_ERR_FORBIDDEN:
      return "the stream carries a DOCTYPE, entity declaration, processing instruction or comment";
    case STREAM_ERR_TOO_LARGE:
      return "a stanza exceeds the size limit";
    case STREAM_ERR_TOO_DEEP:
      return "elements are nested too deeply";
    case STREAM_ERR_NO_PARSER:
      return "the XML parser could not be created";
    default:
      return "unknown stream error";
  }
}
