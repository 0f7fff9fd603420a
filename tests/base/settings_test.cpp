#include "base/settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "base/settings/registry_values.h"
#include "base/settings/service_endpoints.h"
#include "tests/support/temp_home.h"
#include "xml/text_convert.h"

namespace {

const char* const kKeyHeader = "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n";

std::string RegistryWith(const std::string& lines) {
  return std::string("Windows Registry Editor Version 5.00\n\n") + kKeyHeader + lines;
}

// The value names of the settings key, in file order.
std::vector<std::string> ValueNamesInFile(const std::string& text) {
  std::vector<std::string> names;
  std::regex line("^\"([^\"]+)\"=");
  std::smatch match;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::string one = text.substr(start, end - start);
    if (std::regex_search(one, match, line)) {
      names.push_back(match[1]);
    }
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return names;
}

class FakeService : public IJabberService {
 public:
  FakeService(const WCHAR* name, const WCHAR* type) : name_(name), type_(type) {}
  wmstring GetName() override { return name_; }
  wmstring GetType() override { return type_; }
  void Setup(HWND) override {}
  bool Save() override { return true; }
  bool Load() override { return true; }
  wmstring GetServer() override { return wmstring(); }
  wmstring GetUsername() override { return wmstring(); }
  wmstring GetPassword() override { return wmstring(); }
  bool TakeChanged() override { return false; }
  wmstring AddUserDialog(HWND) override { return wmstring(); }
  bool ValidateAddress(const wmstring&, wmstring&) override { return true; }

 private:
  wmstring name_;
  wmstring type_;
};

}  // namespace

TEST(Settings, EmptyRegistryYieldsTheDefaults) {
  TempHome home;
  MSettings settings;
  const SettingsValues d;
  EXPECT_TRUE(settings.soundSupport);
  EXPECT_FALSE(settings.enableProxy);
  EXPECT_FALSE(settings.debugMode);
  EXPECT_TRUE(settings.displayNoServicesDbox);
  EXPECT_EQ(settings.checkConnectionPeriod, 10000u);
  EXPECT_EQ(settings.keepalivePeriod, 50000u);
  EXPECT_EQ(settings.priority, 2u);
  EXPECT_EQ(settings.locationUpdatePeriod, 10000u);
  EXPECT_EQ(settings.vibrationDuration, 1000u);
  EXPECT_EQ(settings.proxyPort, 1080u);
  EXPECT_EQ(settings.proxyServer, "");
  EXPECT_TRUE(settings.soundEnter == u"\\WINDOWS\\orvikenter.wav");
  EXPECT_TRUE(settings.soundExit == u"\\WINDOWS\\orvikexit.wav");
  EXPECT_TRUE(settings.soundFirstMessage == u"\\WINDOWS\\orvikmessage.wav");
  EXPECT_TRUE(settings.soundMessage == u"\\WINDOWS\\orvikmessage.wav");
  EXPECT_EQ(settings.debugFilePath, "\\WINDOWS\\debuglog.xml");
  EXPECT_EQ(settings.gpsPort, "AUTO");
  EXPECT_EQ(settings.longitude, "0.00");
  EXPECT_EQ(settings.latitude, "0.00");
  EXPECT_EQ(settings.altitude, "0.00");
  EXPECT_EQ(settings.gpsUpdate, "");
  EXPECT_EQ(settings.lbsJid, kDefaultLbsJid);
  EXPECT_EQ(settings.trustedTesselcastJid, kDefaultTesselcastJid);
  EXPECT_NE(settings.mapQuery.find("/maps/map.adp?latlongtype=decimal&latitude=%s&longitude=%s"),
            mstring::npos);
  EXPECT_NE(settings.mylocQuery.find("/locator/auth/mobile/default.aspx?jid=%s"), mstring::npos);
  EXPECT_TRUE(settings.browserExec == u"iexplore.exe");
  EXPECT_FALSE(settings.onlyOnline);
  // The program folder is the test program's own folder, ending in a backslash.
  EXPECT_EQ(settings.programFolder.c_str()[settings.programFolder.length() - 1], '\\');
  EXPECT_NE(settings.programFolder, "\\Program Files\\orvik Messenger\\");
}

TEST(Settings, SaveWritesEveryValueInOrderButNeverTheVibrationDuration) {
  TempHome home;
  MSettings settings;
  ASSERT_TRUE(settings.Save());
  std::vector<std::string> expected = {"SOUND SUPPORT",
                                       "VIBRATE SUPPORT",
                                       "SOUND ENTER SUPPORT",
                                       "SOUND FIRST MESSAGE SUPPORT",
                                       "SOUND MESSAGE SUPPORT",
                                       "ENABLE PROXY",
                                       "BRING TO FRONT",
                                       "LOGIN ON STARTUP",
                                       "ENCRYPT SESSIONS",
                                       "DISPLAY NO SERVICES DBOX",
                                       "DEBUG MODE",
                                       "SOUND ENTER",
                                       "SOUND EXIT",
                                       "SOUND FIRSTMESSAGE",
                                       "SOUND MESSAGE",
                                       "CHECK CONNECTION PERIOD",
                                       "KEEPALIVE PERIOD",
                                       "LOCATION UPDATE PERIOD",
                                       "PRIORITY",
                                       "ENTERKEY SENDS",
                                       "SHOW STATUS",
                                       "SHOW SERVICES",
                                       "SMALL BITMAPS",
                                       "USE HASH AUTH",
                                       "SHOW EMOTICONS",
                                       "ENABLE POPUPS",
                                       "PROXY PORT",
                                       "PROXY SERVER",
                                       "PROXY USERNAME",
                                       "PROXY PASSWORD",
                                       "DEBUG FILEPATH",
                                       "LOCATION SUPPORT",
                                       "TESSELCAST SUPPORT",
                                       "ENABLE GPS",
                                       "LATITUDE",
                                       "LONGITUDE",
                                       "ALTITUDE",
                                       "GPS UPDATE",
                                       "GPS PORT",
                                       "TRUSTED TESSELCAST JID",
                                       "LBS JID",
                                       "MAP QUERY",
                                       "MYLOC QUERY",
                                       "BROWSEREXEC"};
  EXPECT_EQ(ValueNamesInFile(home.Read("registry.reg")), expected);
}

TEST(Settings, ChangedValuesSurviveSaveAndLoad) {
  TempHome home;
  {
    MSettings settings;
    settings.enableProxy = true;
    settings.proxyServer = "proxy.example.net";
    settings.proxyPassword = "p\"a\\ss";
    settings.keepalivePeriod = 1234;
    settings.soundSupport = false;
    settings.latitude = "59.33";
    settings.browserExec = u"firefox";
    ASSERT_TRUE(settings.Save());
  }
  MSettings again;
  EXPECT_TRUE(again.enableProxy);
  EXPECT_EQ(again.proxyServer, "proxy.example.net");
  EXPECT_EQ(again.proxyPassword, "p\"a\\ss");
  EXPECT_EQ(again.keepalivePeriod, 1234u);
  EXPECT_FALSE(again.soundSupport);
  EXPECT_EQ(again.latitude, "59.33");
  EXPECT_TRUE(again.browserExec == u"firefox");
}

TEST(Settings, HandEditedValuesFollowTheLoadRules) {
  TempHome home;
  home.Write("device/WINDOWS/mine.wav", "RIFF");
  home.Write("registry.reg", RegistryWith("\"VIBRATION DURATION\"=dword:000001f4\n"
                                          "\"DEBUG MODE\"=dword:00000007\n"
                                          "\"LBS JID\"=\"lbs.somewhere.else\"\n"
                                          "\"SOUND ENTER\"=\"\\\\WINDOWS\\\\missing.wav\"\n"
                                          "\"SOUND EXIT\"=\"\\\\WINDOWS\\\\mine.wav\"\n"
                                          "\"KEEPALIVE PERIOD\"=\"not a number\"\n"
                                          "\"PRIORITY\"=dword:zz\n"
                                          "this line is garbage\n"
                                          "\"PROXY SERVER\"=dword:00000001\n"
                                          "\"SHOW STATUS\"=dword:00000000\n"));
  MSettings settings;
  EXPECT_EQ(settings.vibrationDuration, 500u);
  EXPECT_TRUE(settings.debugMode);
  EXPECT_EQ(settings.lbsJid, kDefaultLbsJid);  // a stored location service is ignored
  EXPECT_TRUE(settings.soundEnter == u"\\WINDOWS\\orvikenter.wav");
  EXPECT_TRUE(settings.soundExit == u"\\WINDOWS\\mine.wav");
  EXPECT_EQ(settings.keepalivePeriod, 50000u);  // wrong type: default
  EXPECT_EQ(settings.priority, 2u);             // bad digits: default
  EXPECT_EQ(settings.proxyServer, "");          // wrong type: default
  EXPECT_FALSE(settings.showStatus);

  settings.vibrationDuration = 9999;
  ASSERT_TRUE(settings.Save());
  std::string file = home.Read("registry.reg");
  EXPECT_NE(file.find("\"VIBRATION DURATION\"=dword:000001f4"), std::string::npos);
  EXPECT_NE(file.find("\"DEBUG MODE\"=dword:00000001"), std::string::npos);  // 7 written as 1
  EXPECT_EQ(file.find("garbage"), std::string::npos);                        // clean file
  EXPECT_EQ(MSettings().vibrationDuration, 500u);
}

TEST(Settings, TextsHoldTwoHundredFiftyFiveCharactersAndLongerOnesAreCut) {
  TempHome home;
  {
    MSettings settings;
    settings.proxyUsername = mstring(std::string(255, 'u').c_str());
    settings.proxyPassword = mstring(std::string(300, 'p').c_str());
    ASSERT_TRUE(settings.Save());
  }
  MSettings again;
  EXPECT_EQ(again.proxyUsername, std::string(255, 'u').c_str());
  EXPECT_EQ(again.proxyPassword, std::string(255, 'p').c_str());
  // A hand-edited text longer than the value room is loaded cut to its room.
  home.Write("registry.reg", RegistryWith("\"PROXY SERVER\"=\"" + std::string(400, 's') + "\"\n"));
  EXPECT_EQ(MSettings().proxyServer, std::string(255, 's').c_str());
}

TEST(Settings, CutTextNeverEndsInHalfASurrogatePair) {
  TempHome home;
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kSettingsKey, u"REG_SZ", &key, &disposition),
            ERROR_SUCCESS);
  std::u16string text(254, u'a');
  text += u"\xD83D\xDE00";  // the pair straddles the 255th character
  ASSERT_TRUE(WriteWideText(key, "BROWSEREXEC", wmstring(text.c_str())));
  wmstring read;
  ASSERT_TRUE(ReadWideText(key, "BROWSEREXEC", read));
  EXPECT_EQ(read, wmstring(std::u16string(254, u'a').c_str()));
  RegCloseKey(key);
}

TEST(Settings, NonAsciiTextRoundTripsThroughTheLocale) {
  TempHome home;
  std::setlocale(LC_ALL, "C.UTF-8");
  {
    MSettings settings;
    settings.proxyUsername = "J\xC3\xBCrgen";
    ASSERT_TRUE(settings.Save());
  }
  EXPECT_EQ(MSettings().proxyUsername, "J\xC3\xBCrgen");
  EXPECT_NE(home.Read("registry.reg").find("\"PROXY USERNAME\"=\"J\xC3\xBCrgen\""),
            std::string::npos);
  std::setlocale(LC_ALL, "C");
}

TEST(Settings, UnwritableRegistryKeepsDefaultsAndReportsTheFailedSave) {
  TempHome home;
  // A folder where the registry file should be: it can be neither read nor replaced.
  std::filesystem::create_directories(home.registryFile());
  MSettings settings;
  EXPECT_EQ(settings.keepalivePeriod, 50000u);
  settings.keepalivePeriod = 777;
  EXPECT_FALSE(settings.Save());
  std::filesystem::remove(home.registryFile());
  EXPECT_TRUE(settings.Save());
  EXPECT_EQ(MSettings().keepalivePeriod, 777u);
}

TEST(Settings, LocationLoadsAndSavesAlone) {
  TempHome home;
  MSettings settings;
  settings.latitude = "1.5";
  settings.longitude = "2.5";
  settings.altitude = "3";
  settings.gpsUpdate = "2026-12-05T09:05:03Z";
  ASSERT_TRUE(settings.SaveLocation());
  EXPECT_EQ(ValueNamesInFile(home.Read("registry.reg")),
            (std::vector<std::string>{"LATITUDE", "LONGITUDE", "ALTITUDE", "GPS UPDATE"}));
  MSettings other;
  other.latitude = "0";
  other.LoadLocation();
  EXPECT_EQ(other.latitude, "1.5");
  EXPECT_EQ(other.gpsUpdate, "2026-12-05T09:05:03Z");
}

TEST(Settings, LoginOnStartupIsSavedAtOnce) {
  TempHome home;
  MSettings settings;
  settings.SetLoginOnStartup(true);
  EXPECT_TRUE(MSettings().loginOnStartup);
  EXPECT_FALSE(MSettings::SetupWizardDone());
  MSettings::MarkSetupWizardDone();
  EXPECT_TRUE(MSettings::SetupWizardDone());
}

TEST(Settings, ServiceEndpointsCanBeChangedInTheRegistry) {
  TempHome home;
  home.Write(
      "registry.reg",
      "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\orvik\\Defaults]\n"
      "\"LBS JID\"=\"lbs.localhost\"\n");
  MSettings settings;
  EXPECT_EQ(settings.lbsJid, "lbs.localhost");
  EXPECT_EQ(settings.trustedTesselcastJid, kDefaultTesselcastJid);
}

TEST(Settings, FontsAndServiceAccounts) {
  TempHome home;
  MSettings settings;
  LOGFONT font = settings.GetFont("JCHATWNDCLASS");
  EXPECT_EQ(font.lfHeight, -11);  // 8 points at 96 pixels per inch
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfCharSet, 1);
  EXPECT_EQ(font.lfQuality, 6);
  EXPECT_TRUE(wmstring(font.lfFaceName) == u"System");
  font.lfWeight = 700;
  settings.SetFont("JCHATWNDCLASS", font);
  EXPECT_EQ(settings.GetFont("JCHATWNDCLASS").lfWeight, 700);
  EXPECT_EQ(settings.GetFont("JROSTERWND").lfWeight, 400);

  settings.AddServiceAccount(new FakeService(u"Jabber Service", u"jud"));
  settings.AddServiceAccount(new FakeService(u"AIM Service", u"aim"));
  settings.AddServiceAccount(new FakeService(u"Second AIM", u"aim"));
  EXPECT_TRUE(settings.FindServiceAccount(u"AIM")->GetName() == u"AIM Service");
  EXPECT_TRUE(settings.FindServiceAccountByName(u"jabber service")->GetType() == u"jud");
  EXPECT_EQ(settings.FindServiceAccount(u"msn"), nullptr);
  EXPECT_EQ(settings.ServiceAccountCount(), 3u);
}
