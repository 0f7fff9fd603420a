// Shared by the engine benchmarks: a peer process whose output is read back, and the clocks.
#pragma once

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/process_support.h"

namespace engine_bench {

inline int64_t RealtimeNs() {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// User plus system CPU time of this process, in milliseconds.
inline double ProcessCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// Runs a peer script of tests/peers with /usr/bin/python3 to its end; its standard output.
inline std::string RunPeer(const std::string& script, const std::vector<std::string>& args,
                           const e2e::TempDir& dir) {
  std::string out = dir / (script + ".out");
  std::remove(out.c_str());
  std::vector<std::string> argv = {"/usr/bin/python3", e2e::SourceDir() + "/tests/peers/" + script};
  argv.insert(argv.end(), args.begin(), args.end());
  e2e::ChildProcess peer;
  peer.Start(argv, dir.path(), out);
  peer.Wait();
  return e2e::ReadFile(out);
}

inline std::vector<double> Numbers(const std::string& text) {
  std::vector<double> numbers;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    char* end = nullptr;
    double value = std::strtod(line.c_str(), &end);
    if (end != line.c_str())
      numbers.push_back(value);
  }
  return numbers;
}

inline double Percentile(std::vector<double> values, double fraction) {
  if (values.empty())
    return 0;
  std::sort(values.begin(), values.end());
  size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

inline double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double value : values)
    sum += value;
  return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

}  // namespace engine_bench
