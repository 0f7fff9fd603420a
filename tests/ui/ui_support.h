// Windows of the framework in a test: the display, a window stack of the test's own, a main
// frame stand-in that answers PostShow, and a folder for screenshots.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/gdi.h"
#include "tests/platform_qt/display_support.h"
#include "ui/frame_link.h"
#include "ui/wnd.h"
#include "ui/wnd_stack.h"

inline LOGFONT TestFont(LONG height = -12) {
  LOGFONT font{};
  font.lfHeight = height;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  return font;
}

inline std::string ArtifactPath(const std::string& name) {
  std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
  return std::string(ORVIK_ARTIFACTS_DIR) + "/" + name;
}

class UiTest : public DisplayTest {
 protected:
  void TearDown() override {
    SetFrameLink(nullptr, nullptr);
    DisplayTest::TearDown();
  }
  MWndStack stack_;
};
