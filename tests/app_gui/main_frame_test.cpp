// The main frame in a running application object: its menu bar, the menu update by session
// state, the routing of application messages and commands, the copy-data hand-over, the
// common message box, a screenshot, and last the exit in order with a thread that never ends.
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "app/app_messages.h"
#include "app/jabber_wnd.h"
#include "app/unbuilt_commands.h"
#include "platform/dialog.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "tests/platform_qt/display_support.h"
#include "tests/support/temp_home.h"

namespace {

// Records which later-component operations the frame asked for.
class RecordingRoutes : public MAppRoutes {
 public:
  explicit RecordingRoutes(std::vector<std::string>* calls) : calls_(calls) {}
  void Login(bool automatic) override { Note(automatic ? "Login(auto)" : "Login"); }
  void Logout() override { Note("Logout"); }
  void LogOff() override { Note("LogOff"); }
  void SetStatus(UINT command) override { Note("SetStatus " + std::to_string(command)); }
  void ShowRosterWindow() override { Note("Roster"); }
  void ShowActiveChatsWindow() override { Note("ActiveChats"); }
  void AboutDialog() override { Note("About"); }
  void PreferencesDialog() override { Note("Preferences"); }
  void GatewaySetup(const WCHAR* type) override {
    Note("Gateway " + std::string(type, type + std::char_traits<char16_t>::length(type)));
  }
  void OpenConversation(const mstring& jid) override { Note(std::string("Chat ") + jid.c_str()); }
  void SessionReceived(LPARAM text) override {
    Note("Received");
    delete reinterpret_cast<mstring*>(text);
  }
  void SessionStateChanged(UINT message) override { Note("State " + std::to_string(message)); }

 private:
  void Note(const std::string& call) { calls_->push_back(call); }
  std::vector<std::string>* calls_;
};

class MainFrameTest : public DisplayTest {
 protected:
  static void SetUpTestSuite() {
    DisplayTest::SetUpTestSuite();
    home = new TempHome;
    app = new MApp(reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(4711)), "");
    SetApp(app);
    SetMessageBoxAutoAnswer(IDOK);
    ASSERT_TRUE(app->Initialise());
    app->SetRoutes(std::make_unique<RecordingRoutes>(&calls));
  }
  static void TearDownTestSuite() {
    SetMessageBoxAutoAnswer(0);
    delete home;  // the application object lives on, as in the program
  }
  void SetUp() override { calls.clear(); }
  HWND Frame() { return app->mainFrame->GetHwnd(); }
  HMENU Menu() { return MenuBarMenu(app->mainFrame->GetMenuBar()); }
  bool Enabled(UINT id) { return (GetMenuState(Menu(), id, MF_BYCOMMAND) & MF_GRAYED) == 0; }
  bool ButtonEnabled(UINT id) { return MenuBarIsButtonEnabled(app->mainFrame->GetMenuBar(), id); }
  void Command(UINT id) { SendMessage(Frame(), WM_COMMAND, id, 0); }

  static TempHome* home;
  static MApp* app;
  static std::vector<std::string> calls;
};

TempHome* MainFrameTest::home = nullptr;
MApp* MainFrameTest::app = nullptr;
std::vector<std::string> MainFrameTest::calls;

TEST_F(MainFrameTest, StartsWithTheMenuBarTheLogWindowAndTheDisconnectedMenu) {
  HMENU menu = Menu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 9);  // Log On, Log Off, -, 4 gateways, -, Exit
  EXPECT_TRUE(Enabled(40008));
  EXPECT_FALSE(Enabled(40027));
  EXPECT_FALSE(ButtonEnabled(101));
  EXPECT_FALSE(ButtonEnabled(102));
  EXPECT_TRUE(ButtonEnabled(65002));
  EXPECT_TRUE(ButtonEnabled(65001));
  EXPECT_FALSE(ButtonEnabled(113));  // GPS: off until the receiver reports
  ASSERT_NE(app->logWindow, nullptr);
  EXPECT_TRUE(IsWindowVisible(app->logWindow->GetView()));
  EXPECT_EQ(app->windows.Top(), app->logWindow.get());
  wmstring content = app->logWindow->GetContent();
  EXPECT_NE(content.find(u"orvik Messenger"), wmstring::npos);
  EXPECT_EQ(std::string(app->clientVersion.c_str()), "3.00e");
  EXPECT_EQ(app->statusCommand, 40034u);
  EXPECT_GE(app->paneHeight, 65);
}

TEST_F(MainFrameTest, MenuUpdateFollowsTheSessionState) {
  SendMessage(Frame(), UM_UPDATE_MENU, kSessionConnecting, 0);
  EXPECT_TRUE(Enabled(40027));
  EXPECT_FALSE(Enabled(40008));
  EXPECT_TRUE(ButtonEnabled(101));
  SendMessage(Frame(), UM_UPDATE_MENU, kSessionOnline, 1);
  EXPECT_TRUE(ButtonEnabled(102));
  SendMessage(Frame(), UM_UPDATE_MENU, kSessionOnline, 0);
  EXPECT_FALSE(ButtonEnabled(102));
  SendMessage(Frame(), UM_UPDATE_MENU, 9, 0);  // unknown states count as off
  EXPECT_TRUE(Enabled(40008));
  EXPECT_FALSE(Enabled(40027));
  EXPECT_FALSE(ButtonEnabled(101));
}

TEST_F(MainFrameTest, CommandsAndMessagesReachTheirTargets) {
  Command(40008);
  Command(40035);
  Command(40043);
  Command(40041);
  Command(65002);
  Command(40211);
  Command(40003);
  Command(40027);
  EXPECT_EQ(calls,
            (std::vector<std::string>{"Login(auto)", "SetStatus 40035", "Gateway aim",
                                      "Gateway icq", "Roster", "ActiveChats", "About", "LogOff"}));
  calls.clear();
  // From another thread, as the receive loop does.
  std::thread worker([this] {
    PostMessage(Frame(), UM_SESSION_RECEIVED, 0, reinterpret_cast<LPARAM>(new mstring("<x/>")));
    PostMessage(Frame(), UM_LOGGED_IN, 0, 0);
  });
  worker.join();
  ASSERT_TRUE(RunUntil([] { return calls.size() == 2; }));
  EXPECT_EQ(calls, (std::vector<std::string>{"Received", "State 65000"}));
}

TEST_F(MainFrameTest, CopyDataWithTheCommandLineTagOpensTheConversation) {
  char line[kCommandLineSize] = "-cw \"xmpp:anna@example.org\"";
  COPYDATASTRUCT data{kCommandLineTag, kCommandLineSize, line};
  EXPECT_EQ(SendMessage(Frame(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
  COPYDATASTRUCT other{12345, kCommandLineSize, line};
  EXPECT_EQ(SendMessage(Frame(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other)), 0);
  // A buffer without a terminator is read only up to its end.
  char unterminated[12];
  std::memcpy(unterminated, "-cw bob@b.c1", 12);
  COPYDATASTRUCT raw{kCommandLineTag, 12, unterminated};
  SendMessage(Frame(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&raw));
  EXPECT_EQ(calls, (std::vector<std::string>{"Chat anna@example.org", "Chat bob@b.c1"}));
}

TEST_F(MainFrameTest, ShowMessageUsesTheCommonMessageBox) {
  int before = MessageBoxCount();
  PostMessage(Frame(), UM_SHOW_MESSAGE, 0, reinterpret_cast<LPARAM>(new mstring("Cannot connect")));
  ASSERT_TRUE(RunUntil([before] { return MessageBoxCount() == before + 1; }));
  WCHAR text[64];
  WCHAR caption[64];
  UINT type = 0;
  LastMessageBox(text, 64, caption, 64, &type);
  EXPECT_EQ(std::u16string(text), u"Cannot connect");
  EXPECT_EQ(std::u16string(caption), u"orvik Messenger");
  EXPECT_EQ(type & 0xF0, MB_ICONEXCLAMATION);
  EXPECT_EQ(type & MB_TOPMOST, MB_TOPMOST);
}

TEST_F(MainFrameTest, MenuUpdatesKeepQuickPhrasesAvailableAndTheFixIndicatorGreyed) {
  for (WPARAM state : {kSessionOnline, kSessionConnecting, kSessionOff}) {
    SendMessage(Frame(), UM_UPDATE_MENU, state, 1);
    EXPECT_TRUE(Enabled(40157)) << "quick phrases in state " << state;
    EXPECT_FALSE(ButtonEnabled(113)) << "the fix indicator in state " << state;
  }
  EXPECT_FALSE(IsUnbuiltCommand(40157));
  EXPECT_FALSE(IsUnbuiltCommand(40162));
  EXPECT_TRUE(Enabled(40004));  // what is built stays available
  EXPECT_TRUE(Enabled(40249));
  EXPECT_TRUE(Enabled(40198));
  EXPECT_TRUE(Enabled(40202));
  EXPECT_TRUE(Enabled(40206));
  EXPECT_TRUE(Enabled(40213));
  EXPECT_TRUE(Enabled(40193));
  EXPECT_TRUE(ButtonEnabled(65002));
  EXPECT_TRUE(ButtonEnabled(65001));
}

TEST_F(MainFrameTest, ShortcutsReachTheirCommandsAndGreyedOnesDoNothing) {
  EnableMenuItem(Menu(), 40022, MF_GRAYED);
  SimulateKeys(Frame(), u"Ctrl+R");  // "Contacts", greyed
  SimulateKeys(Frame(), u"Ctrl+P");
  ASSERT_TRUE(RunUntil([] { return !calls.empty(); }));
  ProcessDisplayEvents();
  EXPECT_EQ(calls, std::vector<std::string>{"Preferences"});
  EnableMenuItem(Menu(), 40022, MF_ENABLED);
  SimulateKeys(Frame(), u"Ctrl+R");
  ASSERT_TRUE(RunUntil([] { return calls.size() > 1; }));
  EXPECT_EQ(calls.back(), "Roster");
}

DWORD StoredPlacement(const WCHAR* name) {
  HKEY key = nullptr;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"Software\\orvik\\Window", &key) == ERROR_SUCCESS) {
    RegQueryValueEx(key, name, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
  }
  return value;
}

TEST_F(MainFrameTest, FrameResizesDownToItsMinimumChildrenFollowAndThePlacementIsKept) {
  MoveWindow(Frame(), 20, 30, 200, 150, TRUE);
  ProcessDisplayEvents();
  RECT rect{};
  GetWindowRect(Frame(), &rect);
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 400);
  MoveWindow(Frame(), 20, 30, 700, 560, TRUE);
  ProcessDisplayEvents();
  RECT client{};
  GetClientRect(Frame(), &client);
  RECT log{};
  GetClientRect(app->logWindow->GetHwnd(), &log);
  EXPECT_EQ(log.right, client.right);
  EXPECT_EQ(log.bottom, client.bottom);
  RECT view{};
  GetWindowRect(app->logWindow->GetView(), &view);
  EXPECT_EQ(view.bottom - view.top, client.bottom);
  ASSERT_TRUE(RunUntil([] { return StoredPlacement(u"WIDTH") == 700; }));
  EXPECT_EQ(StoredPlacement(u"HEIGHT"), 560u);
  EXPECT_EQ(StoredPlacement(u"LEFT"), 20u);
  EXPECT_EQ(StoredPlacement(u"TOP"), 30u);
}

TEST_F(MainFrameTest, DefaultFontGivesLinesAsTallAsAnEmoticon) {
  app->logWindow->Redraw();  // the line height is measured when the view paints
  ProcessDisplayEvents();
  EXPECT_GE(app->logWindow->LineHeight(), 16);
}

TEST_F(MainFrameTest, ScreenshotOfTheMainFrame) {
  MoveWindow(Frame(), 0, 0, 720, 560, TRUE);
  app->logWindow->Append(
      u"<FONT COLOR=\"BLUE\">Connecting to jabber.example.org...</FONT><BR></BR>"
      u"<B>anna@example.org</B> is online <IMG SRC=\"IDB_EMOTICON_HAPPY\"></IMG><BR></BR>"
      u"<FONT COLOR=\"RED\">The server closed the stream.</FONT><BR></BR>"
      u"Read <A HREF=\"http://example.org/\">the help page</A> for more.<BR></BR>");
  app->logWindow->Redraw();
  ProcessDisplayEvents();
  std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
  EXPECT_TRUE(SaveWindowToPng(Frame(), ORVIK_ARTIFACTS_DIR "/main_frame.png"));
}

DWORD NeverEnds(void*) {
  for (;;) {
    Sleep(50);  // ignores the shutdown event on purpose
  }
  return 0;
}

// Last: this one takes the application down.
TEST_F(MainFrameTest, ExitWaitsFiveSecondsForAThreadThatNeverEndsThenQuitsWith18) {
  app->RegisterThread(CreateThread(NeverEnds, nullptr, nullptr));
  auto start = std::chrono::steady_clock::now();
  PostMessage(Frame(), WM_COMMAND, 40005, 0);
  int code = app->Run();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(code, 18);
  EXPECT_GE(seconds, 4.0);
  EXPECT_LT(seconds, 15.0);
  EXPECT_TRUE(g_exiting.load());
  EXPECT_FALSE(IsWindow(Frame()));
  EXPECT_EQ(app->threads.Count(), 0u);
}

}  // namespace
