// Runs a check on the packet the real stream builder makes of one stanza's text.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "xml/packet.h"
#include "xml/stream_builder.h"

inline void WithPacket(const std::string& stanza, const std::function<void(packet*)>& check) {
  struct Context {
    const std::function<void(packet*)>* check;
    int calls;
  } context{&check, 0};
  stream_builder sb;
  stream_builder_init(&sb, &context, nullptr, [](void* owner, packet* p) {
    auto* c = static_cast<Context*>(owner);
    ++c->calls;
    (*c->check)(p);
  });
  std::string stream = "<stream:stream xmlns='jabber:client'>" + stanza;
  EXPECT_EQ(stream_builder_feed(&sb, stream.data(), stream.size()), 0) << stanza;
  EXPECT_EQ(context.calls, 1) << stanza;
  stream_builder_free(&sb);
}

inline int SubtypeOf(const std::string& stanza) {
  int subtype = -1;
  WithPacket(stanza, [&](packet* p) { subtype = packet_subtype(p); });
  return subtype;
}

inline int TypeOf(const std::string& stanza) {
  int type = -1;
  WithPacket(stanza, [&](packet* p) { type = p->type; });
  return type;
}
