// The setup dialogs in a running application, each driven through its controls and OK: what
// they store reaches the registry file (owner-only), the preferences act on changed accounts
// only, the wizard runs the chosen accounts' setup, and screenshots of several dialogs.
#include <filesystem>

#include "tests/app_gui/setup_screens_support.h"

namespace {

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

std::string Shot(const char* name) {
  std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
  return std::string(ORVIK_ARTIFACTS_DIR "/") + name;
}

class SetupDialogsTest : public SetupScreensTest {};

TEST_F(SetupDialogsTest, PreferencesWithOnlySoundChangesNeitherReconnectsNorRegisters) {
  app->settings->soundSupport = true;
  app->settings->soundEnterSupport = true;
  app->settings->Save();
  routesPtr->connected = true;
  Script({[](HWND dialog) {
    EXPECT_TRUE(IsChecked(dialog, 1014));
    EXPECT_EQ(DialogText(dialog, 1001), u"Jabber Service");
    EXPECT_EQ(SendDlgItemMessage(dialog, 1001, CB_GETCOUNT, 0, 0), 5);
    Click(dialog, 1014);
    Click(dialog, 8017);
    SaveWindowToPng(dialog, Shot("preferences_dialog.png").c_str());
    Ok(dialog);
  }});
  PreferencesDialog();
  EXPECT_TRUE(log.empty());
  MSettings stored;
  EXPECT_FALSE(stored.soundSupport);
  EXPECT_FALSE(stored.soundEnterSupport);
  EXPECT_TRUE(stored.soundFirstMessageSupport);
  EXPECT_TRUE(stored.soundMessageSupport);
  EXPECT_TRUE(OwnerOnly());
}

TEST_F(SetupDialogsTest, PreferencesActOnTheAccountsTheirSetupChanged) {
  struct Case {
    int account;  // chosen in the combo box and set up
    bool connected;
    std::vector<std::string> expected;
  };
  const Case cases[] = {{0, true, {"Setup jud", "Relogin"}},
                        {0, false, {"Setup jud"}},
                        {1, true, {"Setup msn", "Register msn"}},
                        {4, false, {"Setup aim", "Register aim"}}};
  for (const Case& c : cases) {
    SetUp();
    Account(c.account)->changeOnSetup = true;
    routesPtr->connected = c.connected;
    int account = c.account;
    Script({[account](HWND dialog) {
              SendDlgItemMessage(dialog, 1001, CB_SETCURSEL, account, 0);
              Click(dialog, 1004);
            },
            [](HWND dialog) { Ok(dialog); }});
    PreferencesDialog();
    EXPECT_EQ(log, c.expected) << "account " << c.account;
  }
}

TEST_F(SetupDialogsTest, AdvancedAndProxyThroughPreferencesStoreTheirValues) {
  app->settings->SetLoginOnStartup(false);
  app->settings->encryptSessions = false;
  app->settings->enableProxy = false;
  app->settings->Save();
  Script({[](HWND preferences) { Click(preferences, 1019); },
          [](HWND advanced) {
            EXPECT_FALSE(IsChecked(advanced, 1023));
            Click(advanced, 1023);
            Click(advanced, 1025);
            Click(advanced, 1029);
          },
          [](HWND proxy) {
            EXPECT_EQ(DialogText(proxy, 1026), u"1080");
            Click(proxy, 1016);
            Type(proxy, 1020, u"proxy.example.org");
            Type(proxy, 1026, u"8080abc");
            Type(proxy, 1027, u"carol");
            Type(proxy, 8028, u"hidden");
            SaveWindowToPng(proxy, Shot("proxy_dialog.png").c_str());
            Ok(proxy);
          },
          [](HWND advanced) { Ok(advanced); }, [](HWND preferences) { Ok(preferences); }});
  PreferencesDialog();
  MSettings stored;
  EXPECT_TRUE(stored.loginOnStartup);
  EXPECT_TRUE(stored.encryptSessions);
  EXPECT_TRUE(stored.enablePopups);
  EXPECT_TRUE(stored.enableProxy);
  EXPECT_EQ(std::string(stored.proxyServer.c_str()), "proxy.example.org");
  EXPECT_EQ(stored.proxyPort, 8080u);
  EXPECT_EQ(std::string(stored.proxyUsername.c_str()), "carol");
  EXPECT_EQ(std::string(stored.proxyPassword.c_str()), "hidden");
  EXPECT_TRUE(OwnerOnly());
}

TEST_F(SetupDialogsTest, ProxyPortKeepsLeadingDigitsOnly) {
  struct Case {
    const WCHAR* typed;
    DWORD port;
  };
  const Case cases[] = {{u"8080abc", 8080}, {u"abc", 0},     {u"", 0},
                        {u" 80", 0},        {u"1080", 1080}, {u"99999999999", 0xFFFFFFFFu}};
  for (const Case& c : cases) {
    EXPECT_EQ(ParseProxyPort(c.typed), c.port) << wide_to_mb(c.typed).c_str();
  }
  Script({[](HWND proxy) {
    Type(proxy, 1026, u"x5222");
    Ok(proxy);
  }});
  ProxyDialog();
  EXPECT_EQ(MSettings().proxyPort, 0u);
}

TEST_F(SetupDialogsTest, BroadcastStoresTheSwitchAndTheTrustedJid) {
  app->settings->tesselcastSupport = false;
  Script({[](HWND dialog) {
    Click(dialog, 8078);
    Type(dialog, 1079, u"alerts.example.org");
    Ok(dialog);
  }});
  BroadcastDialog();
  MSettings stored;
  EXPECT_TRUE(stored.tesselcastSupport);
  EXPECT_EQ(std::string(stored.trustedTesselcastJid.c_str()), "alerts.example.org");
  EXPECT_TRUE(OwnerOnly());
}

TEST_F(SetupDialogsTest, FontSizeNearestToTheStoredHeight) {
  struct Case {
    LONG height;
    int dpi;
    int size;
  };
  const Case cases[] = {{0, 96, 8},    {-11, 96, 8},  {-19, 96, 14},  {-23, 96, 18},
                        {-13, 96, 10}, {-48, 96, 36}, {-200, 96, 36}, {-2, 96, 6},
                        {16, 96, 12},  {-24, 144, 12}};
  for (const Case& c : cases) {
    EXPECT_EQ(FontSizes()[NearestFontSizeIndex(c.height, c.dpi)], c.size) << c.height;
  }
}

TEST_F(SetupDialogsTest, FontsPreselectsTheStoredFontAndGivesTheChoiceToTheFrontWindow) {
  app->ShowLogWindow();
  int dpi = ScreenDpi();
  LOGFONT stored = app->settings->DefaultFont();
  const WCHAR face[] = u"DejaVu Serif";
  std::copy(std::begin(face), std::end(face), stored.lfFaceName);
  stored.lfHeight = -MulDiv(17, dpi, 72);
  app->settings->SetFont("JLOGWND", stored);
  Script({[](HWND dialog) {
    EXPECT_EQ(DialogText(dialog, 8044), u"DejaVu Serif");
    EXPECT_EQ(DialogText(dialog, 8045), u"18");
    LRESULT faces = SendDlgItemMessage(dialog, 8044, CB_GETCOUNT, 0, 0);
    EXPECT_GE(faces, 2);
    WCHAR previous[64] = {0};
    for (LRESULT i = 0; i < faces; ++i) {  // sorted, each face once
      WCHAR name[64];
      SendDlgItemMessage(dialog, 8044, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
      EXPECT_LT(std::u16string(previous), std::u16string(name));
      std::copy(std::begin(name), std::end(name), previous);
    }
    LRESULT sans = SendDlgItemMessage(dialog, 8044, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(u"DejaVu Sans"));
    SendDlgItemMessage(dialog, 8044, CB_SETCURSEL, sans, 0);
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(8044, CBN_SELCHANGE), 0);
    EXPECT_EQ(DialogText(dialog, 8045), u"18");            // the size survives another face
    SendDlgItemMessage(dialog, 8045, CB_SETCURSEL, 8, 0);  // "24"
    SaveWindowToPng(dialog, Shot("fonts_dialog.png").c_str());
    Ok(dialog);
  }});
  FontsDialog();
  const LOGFONT& given = app->logWindow->GetLogFont();
  EXPECT_EQ(std::u16string(given.lfFaceName), u"DejaVu Sans");
  EXPECT_EQ(given.lfHeight, -MulDiv(24, dpi, 72));
  EXPECT_EQ(given.lfWeight, FW_NORMAL);
  EXPECT_EQ(given.lfQuality, 6);
  EXPECT_EQ(app->settings->GetFont("JLOGWND").lfHeight, given.lfHeight);
  EXPECT_TRUE(OwnerOnly());
}

TEST_F(SetupDialogsTest, WizardSetsUpTheXmppAccountThenTheCheckedServicesInOrder) {
  struct Case {
    bool showServices;
    std::vector<std::string> expected;
  };
  const Case cases[] = {{false, {"Setup jud"}},
                        {true, {"Setup jud", "Setup aim", "Setup yahoo", "Setup msn"}}};
  for (const Case& c : cases) {
    SetUp();
    app->settings->showServices = c.showServices;
    app->settings->SetLoginOnStartup(true);
    app->settings->displayNoServicesDbox = false;
    Jabber()->server = u"wizard.example.org";
    Script({[](HWND dialog) {
      Click(dialog, 1012);  // MSN, AIM and Yahoo!, checked out of order
      Click(dialog, 1009);
      Click(dialog, 1011);
      ProcessDisplayEvents();
      SaveWindowToPng(dialog, Shot("setup_wizard.png").c_str());
      Ok(dialog);
    }});
    RunSetupWizard();
    EXPECT_EQ(log, c.expected);
    MSettings stored;
    EXPECT_FALSE(stored.loginOnStartup);
    EXPECT_TRUE(stored.displayNoServicesDbox);
    EXPECT_TRUE(MSettings::SetupWizardDone());
    WCHAR text[64];
    GetWindowTextW(login->Control(kLoginServerEdit), text, 64);
    EXPECT_EQ(std::u16string(text), u"wizard.example.org");
  }
  EXPECT_NE(Registry().find("\"SetupWizard\"=dword:00000001"), std::string::npos);
  EXPECT_TRUE(OwnerOnly());
}

TEST_F(SetupDialogsTest, UnavailableServicesListsTheNamesAndReportsTheCheckBox) {
  for (bool check : {true, false}) {
    Script({[check](HWND dialog) {
      EXPECT_EQ(DialogText(dialog, 1083), u"AIM Service\nICQ Service\n");
      if (check) {
        Click(dialog, 1082);
        ProcessDisplayEvents();
        SaveWindowToPng(dialog, Shot("unavailable_services.png").c_str());
      }
      Ok(dialog);
    }});
    EXPECT_EQ(UnavailableServicesDialog({u"AIM Service", u"ICQ Service"}), check);
  }
}

TEST_F(SetupDialogsTest, AboutShowsTheVersion) {
  Script({[](HWND dialog) {
    EXPECT_EQ(DialogText(dialog, 1101), wmstring("Version " ORVIK_VERSION));
    SaveWindowToPng(dialog, Shot("about_dialog.png").c_str());
    Ok(dialog);
  }});
  AboutDialog();
  EXPECT_EQ(OpenSetupDialog(), nullptr);
}

}  // namespace
