// Location sharing and routes in the real program against a real location service (a slixmpp
// component on the test Prosody, named by the "LBS JID" override).
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app_e2e/program_fixture.h"
#include "app_e2e/user_script.h"
#include "e2e/process_support.h"
#include "location/location_store.h"
#include "location/location_thread.h"
#include "ui/chat_wnd.h"
#include "ui/roster_dialogs.h"
#include "ui/route_dialogs.h"

namespace e2e {
namespace {

constexpr const char* kLbs = "lbs.localhost";
constexpr const char* kOwnPublish = R"("publish": "geoloc:alice")";

class ProgramLocationTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    server_->Stop();
    server_->AddComponent(kLbs, "lbs-secret");
    ASSERT_TRUE(server_->Start());
    // The service keeps a position for the user (from an earlier device) and for c1.
    lbs_.Start({"/usr/bin/python3", SourceDir() + "/tests/peers/lbs_component.py", kLbs,
                "lbs-secret", "127.0.0.1", std::to_string(server_->component_port()), "120",
                "--own", "alice@localhost=10,10,5", "--contact", "c1@localhost=10,11,7"},
               dir_.path(), dir_ / "lbs.out");
    ASSERT_TRUE(RunUntil([&] { return Lbs().find("ready") != std::string::npos; }, 20));
    SetText(u"Software\\orvik\\Defaults", "LBS JID", kLbs);
    // The browser records its arguments, one per line.
    WriteFile(dir_ / "browser.sh",
              "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + (dir_ / "opened") + "'\n");
    chmod((dir_ / "browser.sh").c_str(), 0700);
    SetText(u"Software\\orvik\\Programs", "iexplore.exe", "\"" + (dir_ / "browser.sh") + "\" %1");
    SetAccount(LocalServer(), "alice", "secret");
    SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
    SetDword(kSettingsKey, "LOCATION SUPPORT", 1);
    SetDword(kSettingsKey, "LOCATION UPDATE PERIOD", 200);
    StartProgram();
    ASSERT_TRUE(WaitForLog("Contact list received")) << Log();
    std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
  }

  bool WaitForBrowser(const std::string& lines) {
    return RunUntil([&] { return ReadFile(dir_ / "opened") == lines; }, 20);
  }
  std::string Lbs() { return ReadFile(dir_ / "lbs.out"); }
  bool WaitForLbs(const std::string& text) {
    return RunUntil([&] { return Lbs().find(text) != std::string::npos; }, 20);
  }
  // Several passes of the thread go by.
  void Passes() {
    RunUntil([] { return false; }, 1.5);
  }
  void Position(const char* lat, const char* lon, const char* timestamp) {
    SetLocation(routes().host(), "5", lon, lat, timestamp);
  }
  std::u16string RouteChat() {
    ChatRecord* record = app_->chatWindow->FindChat(kLbs, kChatOneToOne);
    return record != nullptr ? record->History() : u"";
  }

  TempDir dir_;
  ChildProcess lbs_;
};

TEST_F(ProgramLocationTest, TakesTheServiceCopyThenPublishesEachValidChangeOnce) {
  ASSERT_TRUE(RunUntil([&] { return app_->settings->latitude == "10.000000"; }, 20)) << Lbs();
  EXPECT_EQ(1, Count(Lbs(), R"({"items": "geoloc:alice@localhost")"));
  ASSERT_TRUE(WaitForLbs(R"("lat": "10.000000", "lon": "10.000000")")) << Lbs();
  Passes();
  EXPECT_EQ(1, Count(Lbs(), kOwnPublish)) << Lbs();

  Position("48.1", "11.5", "2030-01-01T00:00:01Z");
  ASSERT_TRUE(WaitForLbs(R"("lat": "48.100000", "lon": "11.500000")")) << Lbs();
  Passes();
  EXPECT_EQ(2, Count(Lbs(), kOwnPublish)) << Lbs();

  // A new connection publishes the unchanged position once more.
  HWND frame = app_->mainFrame->GetHwnd();
  SendMessage(frame, WM_COMMAND, 40027, 0);  // Log Off
  ASSERT_TRUE(WaitForLog("Disconnected.")) << Log();
  ASSERT_TRUE(RunUntil([&] { return !routes().login().LoginThreadRunning(); }, 10));
  SendMessage(frame, WM_COMMAND, 40008, 0);  // Log On
  ASSERT_TRUE(RunUntil([&] { return Count(Lbs(), kOwnPublish) == 3; }, 20)) << Lbs() << Log();
  Passes();
  EXPECT_EQ(3, Count(Lbs(), kOwnPublish)) << Lbs();

  for (auto [lat, lon, timestamp] : {std::tuple{"0", "11.5", "2030-01-01T00:00:02Z"},
                                     std::tuple{"48.1", "0", "2030-01-01T00:00:03Z"},
                                     std::tuple{"91", "11.5", "2030-01-01T00:00:04Z"}}) {
    Position(lat, lon, timestamp);
    Passes();
  }
  EXPECT_EQ(3, Count(Lbs(), kOwnPublish)) << Lbs();

  // "MyLocation": the own location page, the jid encoded, as one argument without a shell.
  SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, 40206, 0);
  EXPECT_TRUE(WaitForBrowser(
      "http://locator.orvik.im/locator/auth/mobile/default.aspx?jid=alice%40localhost\n"))
      << ReadFile(dir_ / "opened");

  // Location turned off and on at once: the old thread has ended before the new one starts.
  routes().StopLocation();
  EXPECT_EQ(0, LocationThreadCount());
  routes().StartLocation();
  routes().StartLocation();
  EXPECT_EQ(1, LocationThreadCount());
}

TEST_F(ProgramLocationTest, ContactsSubscribedOnceAndAPushedPositionShowsWithItsDistance) {
  ASSERT_TRUE(RunUntil([&] { return app_->roster->GetItem("c1@localhost", "").hasLocation; }, 20))
      << Lbs();
  ASSERT_TRUE(RunUntil([&] { return app_->settings->latitude == "10.000000"; }, 20)) << Lbs();
  Passes();
  for (const char* contact : {"c1", "c2", "c3"}) {
    EXPECT_EQ(1, Count(Lbs(), std::string(R"({"subscribe": "geoloc:)") + contact + "@localhost"))
        << contact << "\n"
        << Lbs();
  }

  std::vector<std::u16string> shown;
  bool routeEnabled = false;
  UserScript script;
  script.At("Contact Information", [&](HWND dialog) {
    for (int id : {IDC_INFO_LATITUDE, IDC_INFO_LONGITUDE, IDC_INFO_ALTITUDE, IDC_INFO_DISTANCE}) {
      shown.push_back(DialogText(dialog, id).c_str());
    }
    routeEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_INFO_ROUTE_TO));
    SaveWindowToPng(app_->mainFrame->GetHwnd(),
                    ORVIK_ARTIFACTS_DIR "/program_contact_location.png");
    UserScript::Press(dialog, IDC_INFO_MAP);
    UserScript::Press(dialog, IDC_INFO_ROUTE_TO);
  });
  RunContactInfoDialog(app_->mainFrame->GetHwnd(), app_->roster->GetItem("c1@localhost", ""));
  EXPECT_EQ(shown, (std::vector<std::u16string>{u"10", u"11", u"7", u"109.54"}));
  EXPECT_TRUE(routeEnabled);
  EXPECT_TRUE(WaitForBrowser(
      "http://locator.orvik.im/locator/auth/mobile/default.aspx?jid=c1%40localhost\n"))
      << ReadFile(dir_ / "opened");

  ASSERT_TRUE(WaitForLbs(
      R"({"route": "user", "src": {"jid": "alice@localhost"}, "dst": {"jid": "c1@localhost"}})"))
      << Lbs();
  ASSERT_TRUE(RunUntil([&] { return RouteChat().find(u"[2]") != std::u16string::npos; }, 20));
  std::u16string chat = RouteChat();
  for (const char16_t* part :
       {u"<P><b>Route from alice@localhost to c1@localhost:</b></P>",
        u"<P>[0] Head north on &lt;b&gt;Main St&lt;/b&gt; &amp; keep left</P>",
        u"<P>[1] Turn right</P>", u"<P>[2] Arrive at &lt;destination&gt;</P>"}) {
    EXPECT_NE(chat.find(part), std::u16string::npos) << std::string(part, part + 20);
  }
  SaveWindowToPng(app_->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/program_route_chat.png");
}

TEST_F(ProgramLocationTest, CalculateRouteFromTheUserToAnAddress) {
  WCHAR text[256] = {};
  UserScript script;
  script
      .At("Route Start",
          [](HWND dialog) {
            UserScript::Press(dialog, IDC_ROUTE_USE_USER);
            UserScript::Press(dialog, IDOK);  // "You" is preselected
          })
      .At("Route Destination", [&](HWND dialog) {
        UserScript::Press(dialog, IDC_ROUTE_USE_ADDRESS);
        UserScript::Type(dialog, IDC_ROUTE_STREET, u"1 Main St");
        UserScript::Type(dialog, IDC_ROUTE_CITY, u"Springfield");
        UserScript::Type(dialog, IDC_ROUTE_STATE, u"IL");
        UserScript::Press(dialog, IDOK);  // no zip yet: told, and the dialog stays
        LastMessageBox(text, 256, nullptr, 0, nullptr);
        UserScript::Type(dialog, IDC_ROUTE_ZIP, u"62701");
        SaveWindowToPng(app_->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/program_route.png");
        UserScript::Press(dialog, IDOK);
      });
  SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, 40213, 0);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(std::u16string(text),
            u"Please enter a valid street, city, state, country and postal code, or select a "
            u"valid user.");
  ASSERT_TRUE(WaitForLbs(
      R"({"route": "address", "src": {"jid": "alice@localhost"}, "dst": {"street": "1 Main St", )"
      R"("city": "Springfield", "state": "IL", "zip": "62701", "country": "United States"}})"))
      << Lbs();
  ASSERT_TRUE(RunUntil(
      [&] {
        return RouteChat().find(
                   u"Route from alice@localhost to 1 Main St Springfield IL 62701 "
                   u"United States:") != std::u16string::npos;
      },
      20))
      << std::string(RouteChat().begin(), RouteChat().end());
}

}  // namespace
}  // namespace e2e
