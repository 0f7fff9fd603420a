// Received CAP alerts on arbitrary bytes: the input is one stream; every message stanza it
// delivers is mapped to the viewer's record, whose every field must be bounded and which is
// never without an identifier or a list text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/cap_alert_map.h"
#include "xml/packet.h"
#include "xml/stream_builder.h"

namespace {

void Check(const mstring& field) {
  if (field.length() > kMaxCapFieldBytes) {
    std::abort();
  }
}

void on_packet(void*, packet* p) {
  CapAlert alert;
  if (!CapAlertFromMessage(p->x, &alert)) {
    return;
  }
  if (alert.identifier.empty() || alert.listText.empty()) {
    std::abort();
  }
  for (const mstring* field :
       {&alert.identifier, &alert.source, &alert.sent, &alert.status, &alert.msgType, &alert.scope,
        &alert.category, &alert.urgency, &alert.certainty, &alert.eventCode, &alert.listText,
        &alert.summary, &alert.instruction, &alert.contact, &alert.affects, &alert.note}) {
    Check(*field);
  }
}

void on_state(void*, int) {}

const char kStreamHeader[] =
    "<stream:stream xmlns='jabber:client' xmlns:stream='http://etherx.jabber.org/streams'>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  stream_builder sb;
  stream_builder_init(&sb, &sb, on_state, on_packet);
  sb.max_stanza_bytes = 64 * 1024;
  if (stream_builder_feed(&sb, kStreamHeader, sizeof kStreamHeader - 1) >= 0) {
    stream_builder_feed(&sb, reinterpret_cast<const char*>(data), size);
  }
  stream_builder_free(&sb);
  return 0;
}
