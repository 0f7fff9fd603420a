// Where the program finds the data files it ships: installed beside its bin folder first,
// then in a resources folder beside it, then in the source tree.
#include "platform/shipped_data.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class ShippedDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvik-shipped-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    root_ = pattern;
    fs::create_directories(root_ / "bin");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Put(const std::string& relative) {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative) << "x";
  }
  std::string Find(const std::string& name) {
    return ShippedDataPathFrom((root_ / "bin").string(), name);
  }

  fs::path root_;
};

TEST_F(ShippedDataTest, TheInstalledCopyComesBeforeTheOneBesideTheProgram) {
  Put("bin/resources/help.html");
  EXPECT_EQ((root_ / "bin/resources/help.html").string(), Find("help.html"));
  Put("share/orvik/help.html");
  Put("share/orvik/sounds/orvikenter.wav");
  EXPECT_EQ((root_ / "share/orvik/help.html").string(), Find("help.html"));
  EXPECT_EQ((root_ / "share/orvik/sounds/orvikenter.wav").string(), Find("sounds/orvikenter.wav"));
}

TEST_F(ShippedDataTest, TheSourceTreeIsTheLastPlaceAndNamesStayInside) {
  EXPECT_EQ(fs::path(ORVIK_SOURCE_DIR "/resources/RididEdazov.xml").lexically_normal().string(),
            Find("RididEdazov.xml"));
  EXPECT_EQ("", Find("no-such-file.txt"));
  Put("secret.txt");
  EXPECT_EQ("", Find("../../secret.txt"));
  EXPECT_EQ("", Find((root_ / "secret.txt").string()));
  EXPECT_EQ("", Find(""));
}

}  // namespace
