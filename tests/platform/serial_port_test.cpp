// Serial ports on real pseudo-terminals: names, the device table, configuration, transfer,
// the cancellable wait and hang-up.
#include "platform/serial_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "platform/registry.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_home.h"

namespace {

TEST(SerialPortNameTest, TakesEveryDigitOfTheName) {
  const struct {
    const char* name;
    int number;
  } kCases[] = {{"COM1:", 1},   {"COM10:", 10}, {"COM255:", 255}, {"com4:", 4}, {"COM4", 4},
                {"COM007:", 7}, {"COM0:", -1},  {"COM256:", -1},  {"COM:", -1}, {"COM4:x", -1},
                {"COM4::", -1}, {"LPT1:", -1},  {"", -1},         {nullptr, -1}};
  for (const auto& c : kCases) {
    EXPECT_EQ(SerialPortNumber(c.name), c.number) << (c.name ? c.name : "(null)");
  }
}

TEST(SerialPortNameTest, RegistryValuesOverrideTheDefaults) {
  TempHome home;
  ASSERT_TRUE(MapSerialPort("COM4:", "/dev/pts/77"));
  ASSERT_TRUE(MapSerialPort("COM12:", "/dev/ttyGPS"));
  ASSERT_TRUE(MapSerialPort("COM2:", ""));
  const struct {
    int port;
    const char* path;
  } kCases[] = {{1, "/dev/ttyS0"},
                {2, ""},
                {3, "/dev/ttyUSB1"},
                {4, "/dev/pts/77"},
                {5, "/dev/ttyACM1"},
                {6, "/dev/rfcomm0"},
                {7, ""},
                {12, "/dev/ttyGPS"},
                {0, ""}};
  for (const auto& c : kCases) {
    EXPECT_EQ(SerialDevicePath(c.port), c.path) << "COM" << c.port;
  }
}

class SerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.ok());
    ASSERT_TRUE(MapSerialPort("COM4:", pty_.slavePath()));
  }

  TempHome home_;
  PtyPair pty_;
  SerialPort port_;
};

TEST_F(SerialPortTest, ConfiguresAndTransfersBothWays) {
  ASSERT_TRUE(port_.Open("COM4:"));
  ASSERT_TRUE(port_.Configure(4800));
  EXPECT_TRUE(port_.SetDtr(true));  // a pty has no modem lines: not an error
  EXPECT_TRUE(port_.SetRts(false));
  EXPECT_TRUE(port_.Purge(true, true));

  const std::string out("\xA0\xA2\x00\x18\n\r\x11\x13", 8);  // binary, no translation
  ASSERT_TRUE(port_.Write(out.data(), out.size()));
  EXPECT_EQ(pty_.Receive(out.size()), out);

  const std::string in("$GPGGA,1\r\n\x00\xFF", 12);
  ASSERT_TRUE(pty_.Send(in));
  ASSERT_EQ(port_.WaitEvent(), SerialPort::Event::kReceived);
  std::string got;
  char buffer[64];
  while (got.size() < in.size() && port_.WaitEvent() == SerialPort::Event::kReceived) {
    ASSERT_GT(port_.BytesAvailable(), 0);
    long n = port_.Read(buffer, sizeof buffer);
    ASSERT_GE(n, 0);
    got.append(buffer, static_cast<std::size_t>(n));
  }
  EXPECT_EQ(got, in);
  EXPECT_EQ(port_.BytesAvailable(), 0);
}

TEST_F(SerialPortTest, OpenFailsForPortsThatAreNotThere) {
  std::string file = home_.path() + "/not-a-tty";
  home_.Write("not-a-tty", "x");
  ASSERT_TRUE(MapSerialPort("COM8:", file));
  ASSERT_TRUE(MapSerialPort("COM9:", "/dev/orvik-no-such-device"));
  const struct {
    const char* name;
    DWORD error;
  } kCases[] = {{"COM7:", ERROR_FILE_NOT_FOUND},
                {"COM8:", ERROR_INVALID_PARAMETER},
                {"COM9:", ERROR_FILE_NOT_FOUND},
                {"PRN:", ERROR_FILE_NOT_FOUND}};
  for (const auto& c : kCases) {
    SerialPort port;
    EXPECT_FALSE(port.Open(c.name)) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
    EXPECT_FALSE(port.IsOpen()) << c.name;
  }
}

TEST_F(SerialPortTest, IsExclusiveUntilClosed) {
  ASSERT_TRUE(port_.Open("COM4:"));
  SerialPort second;
  EXPECT_FALSE(second.Open("COM4:"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  port_.Close();
  port_.Close();  // twice is harmless
  EXPECT_TRUE(second.Open("COM4:"));
}

TEST_F(SerialPortTest, RefusesARateThatIsNoStandardOne) {
  ASSERT_TRUE(port_.Open("COM4:"));
  EXPECT_FALSE(port_.Configure(4801));
  EXPECT_TRUE(port_.Configure(115200));
}

TEST_F(SerialPortTest, AnotherThreadCancelsTheWaitAndThePause) {
  ASSERT_TRUE(port_.Open("COM4:"));
  ASSERT_TRUE(port_.Configure(4800));
  auto wait = std::async(std::launch::async, [this] { return port_.WaitEvent(); });
  port_.CancelWait();
  // A hang guard, not a timing check: without the cancel the wait never ends.
  ASSERT_EQ(wait.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(wait.get(), SerialPort::Event::kCancelled);
  EXPECT_TRUE(port_.WaitCancelled(60000));  // stays cancelled until reset
  port_.ResetCancel();
  EXPECT_FALSE(port_.WaitCancelled(1));
}

TEST_F(SerialPortTest, AHangUpEndsTheWaitWithAnError) {
  ASSERT_TRUE(port_.Open("COM4:"));
  ASSERT_TRUE(port_.Configure(4800));
  pty_.CloseMaster();
  EXPECT_EQ(port_.WaitEvent(), SerialPort::Event::kError);
  EXPECT_FALSE(port_.Write("x", 1));
  EXPECT_EQ(SerialErrorText(), "Input/output error");
}

}  // namespace
