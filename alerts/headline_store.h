// MHeadlineStore: the headlines the viewer keeps, per source in arrival order, sources ordered
// by their text. It is bounded so that a chatty or hostile sender cannot exhaust memory: the
// newest kMaxPerSource headlines of a source and kMaxSources sources are kept; what was dropped
// is counted so the pages can say so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>

#include "alerts/headline.h"

class MHeadlineStore {
 public:
  static constexpr std::size_t kMaxPerSource = 1000;
  static constexpr std::size_t kMaxSources = 100;

  struct Source {
    std::deque<Headline> headlines;  // oldest first
    std::size_t dropped = 0;         // older headlines of this source no longer kept
    std::uint64_t lastArrival = 0;   // when the source was last heard from (a sequence number)
  };

  // Keeps the headline; true when the list of sources changed (a new source, perhaps replacing
  // the one not heard from for the longest time).
  bool Add(Headline headline);

  const std::map<wmstring, Source>& Sources() const { return sources_; }
  // The source of that name, null when none is kept.
  const Source* Find(const wmstring& source) const;
  // Sources no longer kept because newer ones took their place.
  std::size_t DroppedSources() const { return droppedSources_; }

 private:
  void DropQuietestSource();

  std::map<wmstring, Source> sources_;
  std::uint64_t arrivals_ = 0;
  std::size_t droppedSources_ = 0;
};
