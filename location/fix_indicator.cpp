#include "location/fix_indicator.h"

#include <atomic>

namespace {
std::atomic<FixIndicatorFunction> indicator{nullptr};
}  // namespace

void SetFixIndicator(FixIndicatorFunction show) {
  indicator.store(show);
}

void ShowGpsFix(bool fix) {
  if (FixIndicatorFunction show = indicator.load()) {
    show(fix);
  }
}
