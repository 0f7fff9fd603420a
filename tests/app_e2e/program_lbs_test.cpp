// The location setup as the user meets it: "LBS Setup" from the menu shows the stored position
// and the receiver's settings, stores what is typed, and the receiver's fixes reach the menu
// bar's "GPS Status" button and (in debug mode) the log window.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "app/setup_dialogs.h"
#include "location/gps.h"
#include "location/gps_status.h"
#include "location/location_store.h"
#include "platform/gdi.h"
#include "platform/menu.h"
#include "program_fixture.h"
#include "support/nmea_sentence.h"
#include "support/pty_pair.h"
#include "ui/dialog_text.h"
#include "user_script.h"

namespace e2e {
namespace {

constexpr int kLatitude = 1066, kLongitude = 1067, kAltitude = 1068, kGpsPort = 1072;
constexpr int kLastUpdate = 1101, kEnableLbs = 1064, kUseGps = 8069;

class ProgramLbsTest : public ProgramTest {
 protected:
  void StoredPosition() {
    SetAccount(LocalServer(), "alice", "secret");
    SetText(kSettingsKey, "LATITUDE", "48.117300");
    SetText(kSettingsKey, "LONGITUDE", "11.516667");
    SetText(kSettingsKey, "ALTITUDE", "545.400000");
    SetText(kSettingsKey, "GPS UPDATE", "2026-01-01T00:00:00Z");
    SetText(kSettingsKey, "GPS PORT", "COM4:");
    SetDword(kSettingsKey, "ENABLE GPS", 1);
  }
  void Command(UINT id) { SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, id, 0); }
  bool Has(const std::string& registryLine) {
    return Registry().find(registryLine) != std::string::npos;
  }

  static std::vector<std::u16string> Ports(HWND dialog) {
    std::vector<std::u16string> names;
    LRESULT count = SendDlgItemMessage(dialog, kGpsPort, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      WCHAR name[32] = {};
      SendDlgItemMessage(dialog, kGpsPort, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
      names.emplace_back(name);
    }
    return names;
  }
};

TEST_F(ProgramLbsTest, ShowsTheStoredValuesAndStoresATypedPosition) {
  StoredPosition();
  std::vector<std::u16string> shown, ports;
  bool lbsChecked = true, gpsChecked = false;
  UserScript user;
  user.At("LBS Setup", [&](HWND dialog) {
    for (int id : {kLatitude, kLongitude, kAltitude, kLastUpdate, kGpsPort}) {
      shown.push_back(DialogText(dialog, id).c_str());
    }
    ports = Ports(dialog);
    lbsChecked = IsDlgButtonChecked(dialog, kEnableLbs) == BST_CHECKED;
    gpsChecked = IsDlgButtonChecked(dialog, kUseGps) == BST_CHECKED;
    std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
    SaveWindowToPng(dialog, ORVIK_ARTIFACTS_DIR "/program_lbs_setup.png");
    UserScript::Type(dialog, kLatitude, u"-33.5");
    UserScript::Type(dialog, kLongitude, u"151.25");
    SendDlgItemMessage(dialog, kUseGps, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessage(dialog, kGpsPort, CB_SETCURSEL, 0, 0);
    UserScript::Press(dialog, IDOK);
  });
  StartProgram();
  Command(40193);
  ASSERT_TRUE(user.Done());
  std::vector<std::u16string> expected = {u"48.117300", u"11.516667", u"545.400000",
                                          u"2026-01-01T00:00:00Z", u"COM4:"};
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(ports, (std::vector<std::u16string>{u"AUTO", u"COM1:", u"COM2:", u"COM3:", u"COM4:",
                                                u"COM5:", u"COM6:", u"COM7:"}));
  EXPECT_FALSE(lbsChecked);
  EXPECT_TRUE(gpsChecked);
  std::string registry = Registry();
  EXPECT_TRUE(Has("\"LATITUDE\"=\"-33.500000\"")) << registry;
  EXPECT_TRUE(Has("\"LONGITUDE\"=\"151.250000\""));
  EXPECT_TRUE(Has("\"ALTITUDE\"=\"545.400000\""));
  EXPECT_FALSE(Has("\"GPS UPDATE\"=\"2026-01-01T00:00:00Z\""));
  EXPECT_TRUE(Has("\"ENABLE GPS\"=dword:00000000"));
  EXPECT_TRUE(Has("\"GPS PORT\"=\"AUTO\""));
}

// A typed latitude that is no number is refused with a message; nothing stored is lost.
TEST_F(ProgramLbsTest, RefusesAPositionThatIsNoNumber) {
  StoredPosition();
  int boxesBefore = 0;
  bool stillOpen = false;
  UserScript user;
  user.At("LBS Setup",
          [&](HWND dialog) {
            boxesBefore = MessageBoxCount();
            UserScript::Type(dialog, kLatitude, u"north");
            UserScript::Press(dialog, IDOK);
          })
      .At("LBS Setup", [&](HWND dialog) {
        stillOpen = true;
        UserScript::Press(dialog, IDCANCEL);
      });
  StartProgram();
  Command(40193);
  ASSERT_TRUE(user.Done());
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(MessageBoxCount(), boxesBefore + 1);
  EXPECT_TRUE(Has("\"LATITUDE\"=\"48.117300\"")) << Registry();
}

TEST_F(ProgramLbsTest, OpensFromTheAdvancedSetup) {
  StoredPosition();
  UserScript user;
  user.At("Advanced Setup", [](HWND dialog) { UserScript::Press(dialog, 1031); })
      .At("LBS Setup",
          [](HWND dialog) {
            SendDlgItemMessage(dialog, kEnableLbs, BM_SETCHECK, BST_CHECKED, 0);
            UserScript::Press(dialog, IDOK);
          })
      .At("Advanced Setup", [](HWND dialog) { UserScript::Press(dialog, IDOK); });
  StartProgram();
  AdvancedDialog();
  ASSERT_TRUE(user.Done());
  EXPECT_TRUE(Has("\"LOCATION SUPPORT\"=dword:00000001")) << Registry();
}

// `body` as a sentence with its checksum and line end.
std::string Nmea(const std::string& body) {
  return NmeaSentence(body) + "\r\n";
}

// Status words as they are set, from whichever thread sets them.
struct StatusWords {
  std::mutex lock;
  std::vector<std::string> words;
  bool Has(const std::string& word) {
    std::lock_guard<std::mutex> guard(lock);
    return std::find(words.begin(), words.end(), word) != words.end();
  }
  void Clear() {
    std::lock_guard<std::mutex> guard(lock);
    words.clear();
  }
  static void Note(const char* word, void* context) {
    auto* self = static_cast<StatusWords*>(context);
    std::lock_guard<std::mutex> guard(self->lock);
    self->words.emplace_back(word);
  }
};

// A receiver on a pseudo-terminal mapped to COM4: the program sets it up for NMEA, and what it
// sends reaches the stored position, the "GPS Status" button and (in debug mode) the log.
TEST_F(ProgramLbsTest, AReceiverOnASerialPortDrivesThePositionTheButtonAndTheTrace) {
  PtyPair receiver;
  ASSERT_TRUE(receiver.ok());
  ASSERT_TRUE(MapSerialPort("COM4:", receiver.slavePath()));
  StoredPosition();
  SetDword(kSettingsKey, "DEBUG MODE", 1);
  SetDword(kSettingsKey, "LOCATION SUPPORT", 1);
  StatusWords status;
  SetGpsStatusListener(StatusWords::Note, &status);
  StartProgram();
  const std::string setup = {'\xA0', '\xA2', '\x00', '\x18', '\x81', '\x02', '\x01', '\x01',
                             '\x00', '\x01', '\x05', '\x01', '\x05', '\x01', '\x00', '\x01',
                             '\x00', '\x01', '\x00', '\x01', '\x00', '\x01', '\x00', '\x01',
                             '\x00', '\x01', '\x12', '\xC0', '\x01', '\x6A', '\xB0', '\xB3'};
  EXPECT_EQ(receiver.Receive(32), setup);
  EXPECT_TRUE(RunUntil([&] { return status.Has("GPS ON COM4"); }, 5));
  HWND bar = app_->mainFrame->GetMenuBar();
  auto stored = [&] { return GetLocation(routes().host()); };
  // Each burst is read before the next is sent (the reader rests after a burst).
  auto send = [&](const std::string& bytes) {
    status.Clear();
    ASSERT_TRUE(receiver.Send(bytes));
    ASSERT_TRUE(RunUntil([&] { return status.Has("PARSING"); }, 8));
  };

  // A fix split over two bursts counts once it is whole.
  std::string good = Nmea("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
  send(good.substr(0, 30));
  send(good.substr(30));
  ASSERT_TRUE(RunUntil([&] { return stored().lat == "48.117300"; }, 5)) << stored().lat.c_str();
  EXPECT_STREQ(stored().lon.c_str(), "11.516667");
  EXPECT_STREQ(stored().alt.c_str(), "545.400000");
  EXPECT_TRUE(RunUntil([&] { return MenuBarIsButtonEnabled(bar, 113) != FALSE; }, 5));
  EXPECT_TRUE(WaitForLog("4807.038N=[48,07.038,N]=48.117300")) << Log();
  EXPECT_TRUE(Has("\"LATITUDE\"=\"48.117300\"")) << Registry();

  // South and west, from a receiver of several satellite systems.
  send(Nmea("GNGGA,123521,4807.038,S,01131.000,W,1,08,0.9,545.4,M,46.9,M,,"));
  ASSERT_TRUE(RunUntil([&] { return stored().lat == "-48.117300"; }, 5)) << stored().lat.c_str();
  EXPECT_STREQ(stored().lon.c_str(), "-11.516667");

  // No fix: the button goes off, the position stays.
  send(Nmea("GPGGA,123523,,,,,0,00,,,M,,M,,"));
  EXPECT_TRUE(RunUntil([&] { return MenuBarIsButtonEnabled(bar, 113) == FALSE; }, 5));
  EXPECT_TRUE(status.Has("NO GPS FIX"));

  // Broken input stores nothing: an empty latitude with a fix, a wrong checksum, garbage.
  std::string wrongSum = Nmea("GPGGA,123525,5107.038,N,00131.000,E,1,08,0.9,5.4,M,46.9,M,,");
  wrongSum[wrongSum.size() - 3] = wrongSum[wrongSum.size() - 3] == '0' ? '1' : '0';
  for (const std::string& bad : {Nmea("GPGGA,123524,,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
                                 wrongSum, std::string("$GPGGA,<b>&amp;,garbage\r\n")}) {
    send(bad);
    EXPECT_TRUE(RunUntil([&] { return status.Has("READ ERROR"); }, 5)) << bad;
  }
  EXPECT_STREQ(stored().lat.c_str(), "-48.117300");

  // The receiver goes away: the reader ends.
  status.Clear();
  receiver.CloseMaster();
  EXPECT_TRUE(RunUntil([&] { return status.Has("NOT RUNNING"); }, 8));
  SetGpsStatusListener(nullptr, nullptr);
}

}  // namespace
}  // namespace e2e
