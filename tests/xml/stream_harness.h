// A stream builder wired to a recorder, fed in chunks of a chosen size.
#pragma once

#include <string>
#include <vector>

#include "xml/packet.h"
#include "xml/stream_builder.h"

struct StreamRecorder {
  stream_builder sb;
  std::vector<int> states;
  std::vector<std::string> stanzas;  // each stanza serialised as it arrived
  std::vector<int> subtypes;
  std::vector<int> text_nodes;  // text children of each stanza root
  // Called for every packet before it is recorded; may restart the stream.
  void (*hook)(StreamRecorder*, packet*) = nullptr;

  StreamRecorder() { stream_builder_init(&sb, this, OnState, OnPacket); }
  ~StreamRecorder() { stream_builder_free(&sb); }
  StreamRecorder(const StreamRecorder&) = delete;
  StreamRecorder& operator=(const StreamRecorder&) = delete;

  // Feeds `text` in pieces of `chunk` bytes (0: all at once). Returns the first -1, else 0.
  int Feed(const std::string& text, size_t chunk) {
    if (chunk == 0)
      chunk = text.size() ? text.size() : 1;
    for (size_t at = 0; at < text.size(); at += chunk) {
      size_t n = std::min(chunk, text.size() - at);
      if (stream_builder_feed(&sb, text.data() + at, n) < 0)
        return -1;
    }
    return 0;
  }

  static void OnState(void* owner, int state) {
    static_cast<StreamRecorder*>(owner)->states.push_back(state);
  }
  static void OnPacket(void* owner, packet* p) {
    auto* self = static_cast<StreamRecorder*>(owner);
    if (self->hook)
      self->hook(self, p);
    self->stanzas.push_back(xml_node_to_string(p->x));
    self->subtypes.push_back(packet_subtype(p));
    int texts = 0;
    for (xml_node* c = p->x->first_child; c; c = c->next)
      texts += c->type == XML_NODE_CDATA;
    self->text_nodes.push_back(texts);
  }
};

// The chunk sizes every stream test runs at; 0 is the whole input at once.
inline const size_t kChunkSizes[] = {1, 2, 3, 7, 0};

inline const char kServerHeader[] =
    "<?xml version='1.0'?><stream:stream xmlns='jabber:client' "
    "xmlns:stream='http://etherx.jabber.org/streams' id='c2s_abc' from='example.org' "
    "version='1.0' xml:lang='en'>";
