#include "alerts/headline_store.h"

#include <utility>

bool MHeadlineStore::Add(Headline headline) {
  auto found = sources_.find(headline.source);
  bool newSource = found == sources_.end();
  if (newSource) {
    if (sources_.size() >= kMaxSources) {
      DropQuietestSource();
    }
    found = sources_.emplace(headline.source, Source{}).first;
  }
  Source& source = found->second;
  source.lastArrival = ++arrivals_;
  source.headlines.push_back(std::move(headline));
  if (source.headlines.size() > kMaxPerSource) {
    source.headlines.pop_front();
    ++source.dropped;
  }
  return newSource;
}

const MHeadlineStore::Source* MHeadlineStore::Find(const wmstring& source) const {
  auto found = sources_.find(source);
  return found != sources_.end() ? &found->second : nullptr;
}

// The source heard from longest ago goes: a busy feed keeps its place, a one-off sender does
// not hold a slot for ever.
void MHeadlineStore::DropQuietestSource() {
  auto quietest = sources_.begin();
  for (auto it = sources_.begin(); it != sources_.end(); ++it) {
    if (it->second.lastArrival < quietest->second.lastArrival) {
      quietest = it;
    }
  }
  if (quietest != sources_.end()) {
    sources_.erase(quietest);
    ++droppedSources_;
  }
}
