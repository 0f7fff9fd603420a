// The receive path: a recorded-style server stream of realistic stanzas (chat messages,
// presences with caps, roster results, conference presence, pubsub location events) fed in
// 4047-byte chunks through Expat, the stream tree builder, packet_new and packet_subtype,
// beside a bare Expat parse of the same bytes with empty handlers (the floor).
#include <benchmark/benchmark.h>
#include <expat.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "xml/packet.h"
#include "xml/stream_builder.h"

namespace {

constexpr size_t kChunk = 4047;  // what one receive hands the parser
constexpr size_t kStreamBytes = 12 * 1024 * 1024;

// A small deterministic generator, so every run parses the same bytes.
struct Lcg {
  uint32_t state = 12345;
  uint32_t next() { return state = state * 1664525u + 1013904223u; }
  uint32_t below(uint32_t n) { return next() % n; }
};

const char* const kNames[] = {"alice", "bob", "carol", "dave", "erin", "frank", "grace", "heidi"};
const char* const kWords[] = {"hello", "are",     "you",         "coming",       "tonight",
                              "the",   "meeting", "moved",       "to",           "3pm",
                              "&amp;", "&lt;3",   "caf\xc3\xa9", "ok",           "see",
                              "you",   "there",   "thanks",      "\xe2\x98\x83", "lunch"};

std::string user(Lcg& r) {
  return std::string(kNames[r.below(8)]) + "@example.org";
}

std::string words(Lcg& r, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i)
      text += ' ';
    text += kWords[r.below(20)];
  }
  return text;
}

std::string chat(Lcg& r, int n) {
  return "<message from='" + user(r) + "/phone' to='me@example.org/orvik' type='chat' id='m" +
         std::to_string(n) + "'><body>" + words(r, 3 + r.below(40)) + "</body><thread>th" +
         std::to_string(r.below(100)) +
         "</thread><active xmlns='http://jabber.org/protocol/chatstates'/></message>";
}

std::string presence(Lcg& r) {
  static const char* const kShow[] = {"away", "chat", "dnd", "xa"};
  return "<presence from='" + user(r) + "/desktop' to='me@example.org/orvik'><show>" +
         kShow[r.below(4)] + "</show><status>" + words(r, 2 + r.below(6)) + "</status><priority>" +
         std::to_string(r.below(10)) +
         "</priority><c xmlns='http://jabber.org/protocol/caps' hash='sha-1' "
         "node='http://example.org/client' ver='QgayPKawpkPSDYmwT/WM94uAlu0='/>"
         "<x xmlns='vcard-temp:x:update'><photo>01b87fcd030b72895ff8e88db57ec525450f000d</photo>"
         "</x></presence>";
}

std::string roster(Lcg& r, int n) {
  std::string text = "<iq to='me@example.org/orvik' type='result' id='roster" + std::to_string(n) +
                     "'><query xmlns='jabber:iq:roster' ver='v" + std::to_string(n) + "'>";
  int items = 20 + r.below(40);
  for (int i = 0; i < items; ++i) {
    text += "<item jid='contact" + std::to_string(i) + "@example.net' name='Contact " +
            std::to_string(i) + "' subscription='both'><group>Friends</group>";
    if (r.below(3) == 0)
      text += "<group>Work &amp; Co</group>";
    text += "</item>";
  }
  return text + "</query></iq>";
}

std::string conference(Lcg& r) {
  static const char* const kRole[] = {"participant", "moderator", "visitor"};
  return "<presence from='lounge@conference.example.org/" + std::string(kNames[r.below(8)]) +
         "' to='me@example.org/orvik'><c xmlns='http://jabber.org/protocol/caps' hash='sha-1' "
         "node='http://example.org/client' ver='QgayPKawpkPSDYmwT/WM94uAlu0='/>"
         "<x xmlns='http://jabber.org/protocol/muc#user'><item affiliation='member' role='" +
         kRole[r.below(3)] + "' jid='" + user(r) + "/laptop'/><status code='100'/></x></presence>";
}

std::string location(Lcg& r) {
  std::string owner = user(r);
  char fix[256];
  std::snprintf(fix, sizeof fix,
                "<alt>%u</alt><lat>%u.%06u</lat><lon>-%u.%06u</lon>"
                "<timestamp>2024-05-01T10:%02u:%02uZ</timestamp>",
                r.below(500), 40 + r.below(20), r.below(1000000), r.below(120), r.below(1000000),
                r.below(60), r.below(60));
  return "<message from='pubsub.example.org' to='me@example.org' type='headline'>"
         "<event xmlns='http://jabber.org/protocol/pubsub#event'><items node='geoloc:" +
         owner + "'><item id='geoloc:" + owner +
         "'><geoloc xmlns='http://jabber.org/protocol/geoloc'>" + fix +
         "</geoloc></item></items></event><addresses xmlns='http://jabber.org/protocol/address'>"
         "<address type='replyto' jid='" +
         owner + "/gps'/></addresses></message>";
}

struct Stream {
  std::string bytes;
  size_t stanzas = 0;
};

const Stream& stream() {
  static const Stream generated = [] {
    Stream s;
    Lcg r;
    s.bytes =
        "<?xml version='1.0'?><stream:stream xmlns='jabber:client' "
        "xmlns:stream='http://etherx.jabber.org/streams' id='bench' from='example.org' "
        "version='1.0' xml:lang='en'>";
    while (s.bytes.size() < kStreamBytes) {
      uint32_t kind = r.below(100);
      int n = static_cast<int>(s.stanzas);
      if (kind < 40)
        s.bytes += chat(r, n);
      else if (kind < 70)
        s.bytes += presence(r);
      else if (kind < 72)
        s.bytes += roster(r, n);
      else if (kind < 87)
        s.bytes += conference(r);
      else
        s.bytes += location(r);
      ++s.stanzas;
    }
    return s;
  }();
  return generated;
}

struct FullPathCount {
  size_t stanzas = 0;
  int64_t subtype_sum = 0;
};

void count_packet(void* owner, packet* p) {
  auto* count = static_cast<FullPathCount*>(owner);
  ++count->stanzas;
  count->subtype_sum += packet_subtype(p);
}

void BM_FullPath(benchmark::State& state) {
  const Stream& s = stream();
  size_t stanzas = 0;
  for (auto _ : state) {
    FullPathCount count;
    stream_builder sb;
    stream_builder_init(&sb, &count, nullptr, count_packet);
    for (size_t at = 0; at < s.bytes.size(); at += kChunk) {
      size_t n = std::min(kChunk, s.bytes.size() - at);
      if (stream_builder_feed(&sb, s.bytes.data() + at, n) < 0) {
        state.SkipWithError(stream_error_text(sb.error));
        break;
      }
    }
    stream_builder_free(&sb);
    benchmark::DoNotOptimize(count.subtype_sum);
    stanzas += count.stanzas;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
  state.counters["stanzas"] =
      benchmark::Counter(static_cast<double>(stanzas), benchmark::Counter::kIsRate);
}

void XMLCALL empty_start(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL empty_end(void*, const XML_Char*) {}
void XMLCALL empty_text(void*, const XML_Char*, int) {}

void BM_BareExpat(benchmark::State& state) {
  const Stream& s = stream();
  for (auto _ : state) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetElementHandler(parser, empty_start, empty_end);
    XML_SetCharacterDataHandler(parser, empty_text);
    for (size_t at = 0; at < s.bytes.size(); at += kChunk) {
      size_t n = std::min(kChunk, s.bytes.size() - at);
      if (XML_Parse(parser, s.bytes.data() + at, static_cast<int>(n), XML_FALSE) ==
          XML_STATUS_ERROR) {
        state.SkipWithError("bare Expat parse failed");
        break;
      }
    }
    XML_ParserFree(parser);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
  state.counters["stanzas"] = benchmark::Counter(
      static_cast<double>(state.iterations() * s.stanzas), benchmark::Counter::kIsRate);
}

// Repeated and reported as median, mean and spread: the machine is shared, and one noisy run
// should not decide the ratio.
BENCHMARK(BM_FullPath)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_BareExpat)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The console output, plus a summary line with both rates and their ratio.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // The median when runs are repeated, else the single run.
      if (!run.aggregate_name.empty() && run.aggregate_name != "median")
        continue;
      auto bytes = run.counters.find("bytes_per_second");
      auto stanzas = run.counters.find("stanzas");
      if (bytes != run.counters.end())
        mb_per_s_[run.run_name.function_name] = bytes->second.value / 1e6;
      if (stanzas != run.counters.end())
        stanzas_per_s_[run.run_name.function_name] = stanzas->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Summarise() const {
    auto full = mb_per_s_.find("BM_FullPath");
    auto bare = mb_per_s_.find("BM_BareExpat");
    if (full == mb_per_s_.end() || bare == mb_per_s_.end())
      return;
    std::printf(
        "\nstream: %.1f MB, %zu stanzas, %zu-byte chunks\n"
        "full path:  %.1f MB/s, %.0f stanzas/s\n"
        "bare Expat: %.1f MB/s\n"
        "ratio full/bare: %.0f %% (medians)\n",
        stream().bytes.size() / 1e6, stream().stanzas, kChunk, full->second,
        stanzas_per_s_.at("BM_FullPath"), bare->second, 100.0 * full->second / bare->second);
  }

 private:
  std::map<std::string, double> mb_per_s_;
  std::map<std::string, double> stanzas_per_s_;
};

}  // namespace

int main(int argc, char** argv) {
  // Repetitions of the two benchmarks are interleaved, so that load from other work on the
  // machine falls on both alike (a flag given on the command line still wins).
  std::vector<char*> args(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  stream();  // generated before any timing
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.Summarise();
  benchmark::Shutdown();
  return 0;
}
