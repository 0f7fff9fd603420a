// A headless host over a fresh profile, with the fix indicator and the status word observable.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "location/fix_indicator.h"
#include "location/gps_status.h"
#include "support/temp_home.h"
#include "xmpp/headless_host.h"

class LocationTest : public ::testing::Test {
 protected:
  LocationTest() {
    host_ = std::make_unique<HeadlessHost>();
    fixShown = -1;
    SetFixIndicator([](bool fix) { fixShown = fix ? 1 : 0; });
  }
  ~LocationTest() override { SetFixIndicator(nullptr); }

  int CountLog(const std::string& entry) {
    int count = 0;
    for (const std::string& line : host_->LogLines()) {
      count += line == entry ? 1 : 0;
    }
    return count;
  }

  static inline int fixShown = -1;  // -1 not shown, else the last value
  TempHome home_;
  std::unique_ptr<HeadlessHost> host_;
};
