// Received headlines on arbitrary bytes: the input is one stream; every message stanza it
// delivers is taken as a headline (once from a service of the own server, once from a roster
// contact with a hostile name) and kept in a store. Each headline must be bounded and never
// empty; every page built from the store must be markup the view parses, whose links lead only
// to the viewer's own pages or to web addresses.
#include <expat.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "alerts/headline_pages.h"
#include "alerts/headline_store.h"
#include "app/headline_message.h"
#include "xml/packet.h"
#include "xml/stream_builder.h"
#include "xml/text_convert.h"

namespace {

const char kStreamHeader[] =
    "<stream:stream xmlns='jabber:client' xmlns:stream='http://etherx.jabber.org/streams'>";

bool EndsInHalfPair(const wmstring& text) {
  if (text.length() == 0) {
    return false;
  }
  char16_t last = text.c_str()[text.length() - 1];
  return last >= 0xD800 && last <= 0xDBFF;
}

void Check(const Headline& headline) {
  if (headline.url.length() > kHeadlineUrlLimit || headline.title.length() > kHeadlineTitleLimit ||
      headline.description.length() > kHeadlineDescriptionLimit || headline.source.empty() ||
      (headline.url.empty() && headline.title.empty() && headline.description.empty()) ||
      EndsInHalfPair(headline.title) || EndsInHalfPair(headline.description)) {
    std::abort();
  }
}

void on_packet(void* owner, packet* p) {
  auto* store = static_cast<MHeadlineStore*>(owner);
  HeadlineSender service{"example.com", false, u""};
  HeadlineSender contact{"example.com", true, u"News <b>&amp;</b> ]]> \"'"};
  for (const HeadlineSender* sender : {&service, &contact}) {
    if (std::optional<Headline> headline = HeadlineFromMessage(p, *sender)) {
      Check(*headline);
      store->Add(std::move(*headline));
    }
  }
}

void on_state(void*, int) {}

// The links of a page must be the viewer's own pages or web addresses.
void OnStart(void*, const char* name, const char** attributes) {
  if (std::strcmp(name, "A") != 0) {
    return;
  }
  for (int i = 0; attributes[i] != nullptr; i += 2) {
    const char* target = attributes[i + 1];
    if (std::strcmp(attributes[i], "HREF") == 0 && std::strcmp(target, kHeadlineIndexPage) != 0 &&
        std::strcmp(target, kHeadlineClosePage) != 0 && std::strncmp(target, "source:", 7) != 0 &&
        !IsWebAddress(mstring(target))) {
      std::abort();
    }
  }
}

void OnEnd(void*, const char*) {}

// The page as the view parses it: wrapped in its root, converted to UTF-8.
void CheckPage(XML_Parser parser, const wmstring& page) {
  mstring markup = mstring("<TEXT>") + wide_to_utf8(page) + "</TEXT>";
  XML_ParserReset(parser, nullptr);
  XML_SetElementHandler(parser, OnStart, OnEnd);
  if (XML_Parse(parser, markup.c_str(), static_cast<int>(markup.length()), 1) != XML_STATUS_OK) {
    std::abort();
  }
}

// One parser serves every page of every input: it is reset before each.
XML_Parser pageParser = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pageParser = XML_ParserCreate(nullptr);
  if (pageParser == nullptr) {
    std::abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MHeadlineStore store;
  stream_builder sb;
  stream_builder_init(&sb, &store, on_state, on_packet);
  sb.max_stanza_bytes = 64 * 1024;
  if (stream_builder_feed(&sb, kStreamHeader, sizeof kStreamHeader - 1) >= 0) {
    stream_builder_feed(&sb, reinterpret_cast<const char*>(data), size);
  }
  stream_builder_free(&sb);
  CheckPage(pageParser, HeadlineIndexPage(store));
  for (const auto& [name, source] : store.Sources()) {
    CheckPage(pageParser, HeadlineSourcePage(source));
  }
  return 0;
}
