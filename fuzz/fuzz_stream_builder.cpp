// The receive path on arbitrary bytes: the stream tree builder fed in arbitrary chunk splits,
// then the classification and every extractor on each packet it delivers.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "xml/packet.h"
#include "xml/packet_lists.h"
#include "xml/stream_builder.h"

namespace {

template <size_t N>
field_buf buf(char (&text)[N]) {
  return {text, N};
}

void read_lists(packet* p) {
  packet* query = packet_query(p);
  agent_list_free(packet_agents(query));
  roster_item_list_free(packet_roster_items(query));
  disco_item_list_free(packet_disco_items(p, nullptr));
  disco_info_free(packet_disco_info(p));
  char s[ROUTE_FIELDS][16], d[ROUTE_FIELDS][16];
  field_buf src[ROUTE_FIELDS], dst[ROUTE_FIELDS];
  for (int i = 0; i < ROUTE_FIELDS; ++i) {
    src[i] = buf(s[i]);
    dst[i] = buf(d[i]);
  }
  text_list_free(packet_route(p, src, dst));
}

void read_fields(packet* p) {
  // Small buffers, so that the bounded copies are cut often.
  char a[8], b[8], c[8], d[8], e[8];
  int32_t code = 0;
  packet_error(p, &code, buf(a));
  packet_muc_presence(p, buf(a), buf(b), buf(c), buf(d));
  packet_geoloc_event(p, buf(a), buf(b), buf(c), buf(d), buf(e));
  packet_geoloc_items(p, buf(a), buf(b), buf(c), buf(d), buf(e));
  packet_command_session(p, buf(a));
}

void on_packet(void* owner, packet* p) {
  // The engine restarts the stream after SASL success, compression and TLS; so does this.
  int subtype = packet_subtype(p);
  if (subtype == SUBTYPE_SUCCESS || subtype == SUBTYPE_COMPRESSED || subtype == SUBTYPE_PROCEED)
    stream_builder_restart(static_cast<stream_builder*>(owner));
  const char* texts[] = {packet_from(p), packet_show(p),   packet_status(p),
                         packet_body(p), packet_id(p),     packet_key(p),
                         packet_host(p), packet_thread(p), packet_subject(p)};
  size_t total = 0;
  for (const char* text : texts)
    total += std::strlen(text);
  (void)total;
  packet_ns_code(p);
  packet_ns_code(packet_query(p));
  packet_features(p);
  packet_auth_fields(p);
  read_fields(p);
  read_lists(p);
  xml_node_to_string(p->x);
}

void on_state(void*, int) {}

}  // namespace

// The first byte seeds the chunk sizes; the rest is the stream.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  uint32_t seed = data[0];
  ++data;
  --size;
  stream_builder sb;
  stream_builder_init(&sb, &sb, on_state, on_packet);
  // The same checks as 1 MiB, at fuzzing sizes: inputs are at most 4 KiB (the .options file),
  // so a stanza can outgrow the cap and a token can outlast the rescan budget, while the largest
  // stanza of the recorded sessions (3.1 KiB) still fits.
  sb.max_stanza_bytes = 3584;
  const char* text = reinterpret_cast<const char*>(data);
  while (size > 0) {
    seed = seed * 1103515245u + 12345u;
    size_t chunk = seed % 4 == 0 ? size : 1 + (seed >> 16) % 64;
    if (chunk > size)
      chunk = size;
    if (stream_builder_feed(&sb, text, chunk) < 0)
      break;
    text += chunk;
    size -= chunk;
  }
  if (!sb.error)
    stream_builder_finish(&sb);
  stream_builder_free(&sb);
  return 0;
}
