// The Expat handlers of the stream tree builder.
#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "xml/packet.h"
#include "xml/stream_builder_internal.h"

namespace {

stream_builder* self(void* user_data) {
  return static_cast<stream_builder*>(user_data);
}

void fail(stream_builder* sb, int error) {
  if (!sb->error)
    sb->error = error;
  sb->halted = 1;
  XML_StopParser(sb->parser, XML_FALSE);
}

uint64_t event_end(stream_builder* sb) {
  return static_cast<uint64_t>(XML_GetCurrentByteIndex(sb->parser)) +
         static_cast<uint64_t>(XML_GetCurrentByteCount(sb->parser));
}

void copy_stream_id(stream_builder* sb, const char* id) {
  size_t length = std::strlen(id);
  if (length >= sizeof sb->stream_id)
    length = sizeof sb->stream_id - 1;
  std::memcpy(sb->stream_id, id, length);
  sb->stream_id[length] = '\0';
}

// The server's stream header: read for its id and version, then dropped.
void open_stream(stream_builder* sb, const char** attrs) {
  sb->stream_id[0] = '\0';
  for (int i = 0; attrs[i]; i += 2) {
    if (std::strcmp(attrs[i], "id") == 0) {
      copy_stream_id(sb, attrs[i + 1]);
      break;
    }
  }
  for (int i = 0; attrs[i]; i += 2) {
    if (strcasecmp(attrs[i], "id") == 0)
      copy_stream_id(sb, attrs[i + 1]);
    else if (strcasecmp(attrs[i], "version") == 0)
      sb->stream_v1 = strcasecmp(attrs[i + 1], "1.0") == 0 ? 1 : 0;
  }
  sb->mark = sb->event_end = event_end(sb);
  if (sb->on_state)
    sb->on_state(sb->owner, STREAM_STATE_OPEN);
}

void flush_text(stream_builder* sb) {
  if (sb->text_length == 0)
    return;
  xml_node_insert_cdata(sb->current, sb->text, static_cast<int>(sb->text_length));
  sb->text_length = 0;
}

void collect_text(stream_builder* sb, const char* text, size_t length) {
  if (sb->text_length + length > sb->text_capacity) {
    size_t capacity = sb->text_capacity ? sb->text_capacity : 256;
    while (capacity < sb->text_length + length)
      capacity *= 2;
    char* grown = static_cast<char*>(std::realloc(sb->text, capacity));
    if (!grown)
      std::abort();  // the pool's policy: running out of memory ends the process
    sb->text = grown;
    sb->text_capacity = capacity;
  }
  std::memcpy(sb->text + sb->text_length, text, length);
  sb->text_length += length;
}

void XMLCALL on_start(void* user_data, const XML_Char* name, const XML_Char** attrs) {
  stream_builder* sb = self(user_data);
  if (sb->halted)
    return;
  // Only the document element is the stream root: a "stream:stream" inside a stanza is just
  // an element, and must not reopen (or, at its end, close) the stream.
  if (sb->depth == 0 && std::strcmp(name, "stream:stream") == 0) {
    sb->depth = 1;
    open_stream(sb, attrs);
    return;
  }
  if (++sb->depth > sb->max_depth) {
    fail(sb, STREAM_ERR_TOO_DEEP);
    return;
  }
  xml_node* node;
  if (sb->current) {
    flush_text(sb);
    node = xml_node_insert_tag(sb->current, name);
  } else {
    node = xml_node_new_tag(name);
  }
  // Expat has already refused duplicate attributes, so no search for an existing one.
  for (int i = 0; attrs[i]; i += 2)
    xml_node_append_attrib(node, attrs[i], attrs[i + 1]);
  sb->current = node;
}

void deliver(stream_builder* sb, xml_node* stanza) {
  sb->mark = sb->event_end = event_end(sb);
  if (sb->on_packet)
    sb->on_packet(sb->owner, packet_new(stanza));
  xml_node_free(stanza);
}

void XMLCALL on_end(void* user_data, const XML_Char*) {
  stream_builder* sb = self(user_data);
  if (sb->halted)
    return;
  if (sb->depth > 0)
    --sb->depth;
  if (!sb->current) {
    sb->mark = sb->event_end = event_end(sb);
    if (sb->on_state)
      sb->on_state(sb->owner, STREAM_STATE_CLOSED);
    return;
  }
  flush_text(sb);
  xml_node* parent = sb->current->parent;
  if (parent) {
    sb->current = parent;
    return;
  }
  xml_node* stanza = sb->current;
  sb->current = nullptr;
  deliver(sb, stanza);
}

void XMLCALL on_text(void* user_data, const XML_Char* text, int length) {
  stream_builder* sb = self(user_data);
  if (sb->halted)
    return;
  if (sb->current)
    collect_text(sb, text, static_cast<size_t>(length));
  else
    sb->mark = event_end(sb);  // whitespace between stanzas is dropped and ends no stanza
}

void XMLCALL on_doctype(void* user_data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  fail(self(user_data), STREAM_ERR_FORBIDDEN);
}

void XMLCALL on_entity(void* user_data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                       const XML_Char*, const XML_Char*, const XML_Char*) {
  fail(self(user_data), STREAM_ERR_FORBIDDEN);
}

void XMLCALL on_instruction(void* user_data, const XML_Char*, const XML_Char*) {
  fail(self(user_data), STREAM_ERR_FORBIDDEN);
}

void XMLCALL on_comment(void* user_data, const XML_Char*) {
  fail(self(user_data), STREAM_ERR_FORBIDDEN);
}

void install(stream_builder* sb, XML_Parser parser) {
  XML_SetUserData(parser, sb);
  XML_SetElementHandler(parser, on_start, on_end);
  XML_SetCharacterDataHandler(parser, on_text);
  XML_SetStartDoctypeDeclHandler(parser, on_doctype);
  XML_SetEntityDeclHandler(parser, on_entity);
  XML_SetProcessingInstructionHandler(parser, on_instruction);
  XML_SetCommentHandler(parser, on_comment);
}

}  // namespace

XML_Parser stream_parser_new(stream_builder* sb) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (parser)
    install(sb, parser);
  return parser;
}

bool stream_parser_reset(stream_builder* sb, XML_Parser parser) {
  if (!XML_ParserReset(parser, nullptr))
    return false;
  install(sb, parser);
  return true;
}

void stream_drop_stanza(stream_builder* sb) {
  xml_node* root = sb->current;
  while (root && root->parent)
    root = root->parent;
  xml_node_free(root);
  sb->current = nullptr;
  sb->text_length = 0;
}
