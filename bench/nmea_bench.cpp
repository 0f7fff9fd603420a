// Receiver text through the GGA parser and the sentence assembler, one core: sentences per
// second. A receiver sends a handful a second; these figures show how far below any budget
// the reading stays.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "location/nmea.h"

namespace {

const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

// One second of a typical receiver's output.
std::string ReceiverSecond() {
  return kGga + "\r\n$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n" +
         "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n" +
         "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n";
}

void BM_ParseGga(benchmark::State& state) {
  GgaFix fix;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseGga(kGga.data(), kGga.size(), &fix));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseGga);

// Chunks of the given size, as the serial reader delivers them, cut into sentences and the
// position sentences parsed.
void BM_AssembleAndParse(benchmark::State& state) {
  std::string stream;
  for (int i = 0; i < 64; ++i) {
    stream += ReceiverSecond();
  }
  std::size_t chunk = static_cast<std::size_t>(state.range(0));
  int64_t sentences = 0;
  MNmeaAssembler assembler;
  GgaFix fix;
  for (auto _ : state) {
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
      std::size_t count = std::min(chunk, stream.size() - at);
      assembler.Feed(stream.data() + at, count, [&](std::string_view sentence, bool complete) {
        ++sentences;
        if (complete && IsGgaSentence(sentence.data(), sentence.size())) {
          benchmark::DoNotOptimize(ParseGga(sentence.data(), sentence.size(), &fix));
        }
      });
    }
  }
  state.SetItemsProcessed(sentences);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_AssembleAndParse)->Arg(1)->Arg(16)->Arg(1024);

}  // namespace

BENCHMARK_MAIN();
