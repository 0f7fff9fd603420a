// The display for a GUI test: started once per process on the test's thread (offscreen when
// QT_QPA_PLATFORM says so), and a loop that runs until a condition holds or time runs out.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "platform/window.h"

class DisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(InitDisplay(nullptr, nullptr)); }
  void TearDown() override { ProcessDisplayEvents(); }
};

// Runs the message loop (GetMessage, so the display's events flow too) until `done` holds;
// false when it did not within `seconds`. A one-shot timer keeps the loop waking.
inline bool RunUntil(const std::function<bool()>& done, double seconds = 3.0) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  UINT_PTR tick = SetTimer(nullptr, 0, 20, nullptr);
  bool reached = false;
  while (!(reached = done()) && std::chrono::steady_clock::now() < deadline) {
    MSG message;
    if (GetMessage(&message, nullptr, 0, 0) <= 0) {
      break;
    }
    DispatchMessage(&message);
  }
  KillTimer(nullptr, tick);
  return reached;
}
