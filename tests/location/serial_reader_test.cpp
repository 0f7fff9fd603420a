// The serial reader against a receiver played on the master side of a real pty: the set-up
// message, chunked delivery to the owner window, the status words and every way it stops.
#include "location/serial_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "location/gps_status.h"
#include "location/serial_messages.h"
#include "tests/platform/message_test_support.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_home.h"
#include "xml/mstring.h"

namespace {

const std::string kNmeaSwitch(
    "\xA0\xA2\x00\x18\x81\x02\x01\x01\x00\x01\x05\x01\x05\x01\x00\x01"
    "\x00\x01\x00\x01\x00\x01\x00\x01\x00\x01\x12\xC0\x01\x6A\xB0\xB3",
    32);

class SerialReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.ok());
    ASSERT_TRUE(MapSerialPort("COM4:", pty_.slavePath()));
    SetGpsStatusListener(&SerialReaderTest::Record, this);
    handler_ = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == serial_messages::UM_SERIAL_DATA) {
        const char* chunk = reinterpret_cast<const char*>(lParam);
        sizes_.push_back(wParam);
        terminated_ = terminated_ && chunk[wParam] == '\0';
        received_.append(chunk, wParam);
        FreeSerialChunk(lParam);
        return 0;
      }
      if (message == serial_messages::UM_SHOW_MESSAGE) {
        auto* text = reinterpret_cast<mstring*>(lParam);
        shown_.push_back(text->c_str());
        delete text;
        return 0;
      }
      return DefWindowProc(window, message, wParam, lParam);
    };
    window_ = MakeTestWindow(&handler_);
  }
  void TearDown() override {
    SerialReader::Destroy();
    SetGpsStatusListener(nullptr, nullptr);
    DestroyWindow(window_);
  }

  static void Record(const char* word, void* context) {
    auto* test = static_cast<SerialReaderTest*>(context);
    std::lock_guard<std::mutex> lock(test->wordsMutex_);
    test->words_.push_back(word);
  }
  std::vector<std::string> Words() {
    std::lock_guard<std::mutex> lock(wordsMutex_);
    return words_;
  }
  std::vector<std::string> LastWords(std::size_t count) {
    std::vector<std::string> words = Words();
    return words.size() < count ? words
                                : std::vector<std::string>(words.end() - count, words.end());
  }

  // Handles the window's messages until `done` holds (false if it never does).
  bool PumpUntil(const std::function<bool()>& done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    MSG message;
    while (true) {
      while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessage(&message);
      }
      if (done()) {
        return true;
      }
      if (std::chrono::steady_clock::now() > end) {
        return false;
      }
      usleep(2000);
    }
  }

  bool OpenCom4() {
    return SerialReader::Create(window_, 4, 4800) == 1 && SerialReader::Instance()->Open();
  }

  TempHome home_;
  PtyPair pty_;
  MessageHandler handler_;
  HWND window_ = nullptr;
  std::vector<WPARAM> sizes_;
  std::string received_;
  bool terminated_ = true;
  std::vector<std::string> shown_;
  std::mutex wordsMutex_;
  std::vector<std::string> words_;
};

TEST_F(SerialReaderTest, SwitchesTheReceiverToNmeaInThreeWrites) {
  ASSERT_TRUE(OpenCom4());
  EXPECT_EQ(pty_.Receive(32), kNmeaSwitch);
  std::vector<std::string> words = Words();
  words.resize(6);
  EXPECT_EQ(words, (std::vector<std::string>{"WRITING", "WRITTEN", "WRITING", "WRITTEN", "WRITING",
                                             "WRITTEN"}));
  EXPECT_TRUE(SerialReader::IsRunning());
}

TEST_F(SerialReaderTest, DeliversBytesInOrderInChunksOfAtMost1024) {
  ASSERT_TRUE(OpenCom4());
  ASSERT_EQ(pty_.Receive(32).size(), 32u);
  ASSERT_TRUE(PumpUntil([this] { return GpsStatus() == "WAITING"; }));
  std::string sent;
  for (int i = 0; i < 3000; ++i) {
    sent.push_back(static_cast<char>(i * 7 % 251));  // NUL bytes included
  }
  ASSERT_TRUE(pty_.Send(sent));
  ASSERT_TRUE(PumpUntil([&] { return received_.size() >= sent.size(); }));
  EXPECT_EQ(received_, sent);
  EXPECT_GE(sizes_.size(), 3u);
  for (WPARAM size : sizes_) {
    EXPECT_LE(size, 1024u);
  }
  EXPECT_TRUE(terminated_);
  std::vector<std::string> words = Words();
  std::vector<std::string> burst = {"WAITING", "COMM EVENT", "READING", "READ"};
  EXPECT_TRUE(std::search(words.begin(), words.end(), burst.begin(), burst.end()) != words.end());
  ASSERT_TRUE(PumpUntil([] { return GpsStatus() == "READ END"; }));
}

TEST_F(SerialReaderTest, StopsWithCommErrorThenNotRunning) {
  // The hang-up comes last: it leaves the pty without a far end.
  const struct {
    const char* name;
    bool hangUp;
  } kCases[] = {{"close during the wait", false}, {"far end hangs up", true}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(OpenCom4());
    ASSERT_TRUE(PumpUntil([] { return GpsStatus() == "WAITING"; }));
    if (c.hangUp) {
      pty_.CloseMaster();
    } else {
      SerialReader::Instance()->Close();
    }
    ASSERT_TRUE(PumpUntil([] { return !SerialReader::IsRunning(); }));
    SerialReader::Instance()->Close();  // joins the thread
    EXPECT_EQ(LastWords(2), (std::vector<std::string>{"COMM ERROR", "NOT RUNNING"}));
    EXPECT_FALSE(SerialReader::Instance()->Write(reinterpret_cast<const BYTE*>("x"), 1));
    EXPECT_EQ(GpsStatus(), "WRITE ERR");
    SerialReader::Destroy();
  }
}

TEST_F(SerialReaderTest, CloseDuringThePauseAfterABurstEndsTheThread) {
  ASSERT_TRUE(OpenCom4());
  ASSERT_TRUE(pty_.Send("$GPGGA"));
  ASSERT_TRUE(PumpUntil([] { return GpsStatus() == "READ END"; }));
  SerialReader::Instance()->Close();
  EXPECT_FALSE(SerialReader::IsRunning());
  EXPECT_EQ(LastWords(2), (std::vector<std::string>{"READ END", "NOT RUNNING"}));
}

TEST_F(SerialReaderTest, TellsTheUserOfAFailingReadOncePerOpen) {
  ASSERT_TRUE(OpenCom4());
  ASSERT_TRUE(pty_.Send("$GPGGA"));
  // The thread pauses after its burst, leaving the port to the calls below.
  ASSERT_TRUE(PumpUntil([] { return GpsStatus() == "READ END"; }));
  pty_.CloseMaster();
  char buffer[16];
  EXPECT_EQ(SerialReader::Instance()->ReadAvailable(buffer, sizeof buffer), 0u);
  EXPECT_EQ(SerialReader::Instance()->ReadAvailable(buffer, sizeof buffer), 0u);
  ASSERT_TRUE(PumpUntil([this] { return !shown_.empty(); }));  // both posts are queued by now
  EXPECT_EQ(shown_, std::vector<std::string>{"COM4: Input/output error"});
}

TEST_F(SerialReaderTest, IsMadeAgainAfterDestroy) {
  ASSERT_TRUE(OpenCom4());
  ASSERT_EQ(pty_.Receive(32), kNmeaSwitch);
  EXPECT_EQ(SerialReader::Create(window_, 4, 4800), -1);  // one reader per process
  SerialReader::Destroy();
  EXPECT_EQ(SerialReader::Instance(), nullptr);
  EXPECT_FALSE(SerialReader::IsRunning());
  ASSERT_TRUE(OpenCom4());
  EXPECT_EQ(pty_.Receive(32), kNmeaSwitch);
  EXPECT_TRUE(SerialReader::IsRunning());
}

TEST_F(SerialReaderTest, OpenOfAMissingPortStartsNoThread) {
  home_.Write("plain-file", "x");
  ASSERT_TRUE(MapSerialPort("COM9:", home_.path() + "/plain-file"));
  for (int port : {7, 9}) {
    ASSERT_EQ(SerialReader::Create(window_, port, 4800), 1);
    EXPECT_FALSE(SerialReader::Instance()->Open()) << port;
    EXPECT_FALSE(SerialReader::IsRunning()) << port;
    SerialReader::Destroy();
  }
  EXPECT_TRUE(Words().empty());  // no thread ever said "WAITING" or "NOT RUNNING"
}

TEST_F(SerialReaderTest, RefusesARateThePortCannotTake) {
  ASSERT_EQ(SerialReader::Create(window_, 4, 4801), 1);
  EXPECT_FALSE(SerialReader::Instance()->Open());
  EXPECT_FALSE(SerialReader::IsRunning());
  EXPECT_EQ(pty_.Receive(1), "");  // nothing was sent to the receiver
}

}  // namespace
