// The contact list in the program against Prosody: the server's contacts in their groups,
// and adding (with each network's address rule), renaming and removing contacts, checked from
// a second client of the same account.
#include "platform/gdi.h"
#include "program_fixture.h"
#include "ui/roster_dialogs.h"
#include "ui/roster_wnd.h"
#include "user_script.h"

namespace e2e {
namespace {

class ProgramContactsTest : public ProgramTest {
 protected:
  // A second client of the account that prints the roster and every push.
  void StartRosterWatcher() {
    watcher_.Start(
        {"/usr/bin/python3", SourceDir() + "/tests/peers/roster_watcher.py", "alice@localhost",
         "secret", "127.0.0.1", std::to_string(server_->c2s_port()), "60"},
        peerDir_.path(), peerDir_ / "watcher.out");
    ASSERT_TRUE(RunUntil([&] { return Watched().find("ready") != std::string::npos; }, 20));
  }
  std::string Watched() { return ReadFile(peerDir_ / "watcher.out"); }
  bool WatcherSees(const std::string& line) {
    return RunUntil([&] { return Watched().find(line) != std::string::npos; }, 10);
  }

  void LogIn() {
    SetAccount(LocalServer(), "alice", "secret");
    SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
    StartProgram();
    ASSERT_TRUE(WaitForLog("Contact list received")) << Log();
  }
  MRosterTree& Tree() { return app_->rosterWindow->Tree(); }
  std::vector<std::string> GroupTexts() {
    std::vector<std::string> texts;
    for (HTREEITEM group : Tree().Groups()) {
      texts.push_back(wide_to_utf8(Tree().Text(group)).c_str());
    }
    return texts;
  }
  // The contacts of a group as "text [image]".
  std::vector<std::string> ContactsOf(const char* group) {
    std::vector<std::string> contacts;
    HTREEITEM item = Tree().FindGroup(utf8_to_wide(group));
    for (HTREEITEM child : item ? Tree().Children(item) : std::vector<HTREEITEM>{}) {
      contacts.push_back(std::string(wide_to_utf8(Tree().Text(child)).c_str()) + " [" +
                         std::to_string(Tree().Image(child)) + "]");
    }
    return contacts;
  }
  void Select(const char* jid) {
    std::vector<HTREEITEM> items = Tree().ContactItems(jid);
    ASSERT_FALSE(items.empty()) << jid;
    SendMessage(Tree().Hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items[0]));
  }
  void Command(UINT id) { SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, id, 0); }

  TempDir peerDir_;
  ChildProcess watcher_;
};

TEST_F(ProgramContactsTest, ServerContactsAppearInTheirGroupsWithTheOfflineIcon) {
  LogIn();
  EXPECT_TRUE(app_->rosterWindow->IsTopWindow());
  EXPECT_EQ(GroupTexts(), (std::vector<std::string>{"Friends", "Services"}));
  // Jabber's offline image is 7.
  EXPECT_EQ(ContactsOf("Friends"),
            (std::vector<std::string>{"Contact 1 [7]", "Contact 2 [7]", "Contact 3 [7]"}));
}

TEST_F(ProgramContactsTest, AddRenameAndRemoveReachTheServersRoster) {
  StartRosterWatcher();
  LogIn();
  int boxes = MessageBoxCount();
  UserScript user;
  user.At("Add User",
          [](HWND dialog) {
            UserScript::Type(dialog, IDC_ADD_NICKNAME, u"Dora");
            UserScript::Press(dialog, IDOK);
          })
      .At("Add Jabber User",
          [](HWND dialog) {
            UserScript::Type(dialog, 105, u"not valid");  // a space and no '@': refused
            UserScript::Press(dialog, IDOK);
          })
      .At("Add User", [](HWND dialog) { UserScript::Press(dialog, IDOK); })
      .At("Add Jabber User", [](HWND dialog) {
        UserScript::Type(dialog, 105, u"dora");  // letters only: completed with the server
        UserScript::Press(dialog, IDOK);
      });
  Command(40198);
  EXPECT_TRUE(user.Done());
  EXPECT_EQ(MessageBoxCount(), boxes + 1);  // "Invalid Address", once
  EXPECT_TRUE(WatcherSees("item dora@localhost name=Dora groups=Contacts")) << Watched();

  Select("c1@localhost");
  user.At("Rename User", [](HWND dialog) {
    UserScript::Type(dialog, IDC_RENAME_NICKNAME, u"Charlie");
    UserScript::Type(dialog, IDC_RENAME_GROUP, u"Work");
    UserScript::Press(dialog, IDOK);
  });
  Command(40200);
  EXPECT_TRUE(user.Done());
  EXPECT_TRUE(WatcherSees("item c1@localhost name=Charlie groups=Work")) << Watched();
  EXPECT_EQ(ContactsOf("Work"), std::vector<std::string>{"Charlie [7]"});

  Select("c2@localhost");
  user.At("Remove User", [](HWND dialog) { UserScript::Press(dialog, IDOK); });
  Command(40199);
  EXPECT_TRUE(user.Done());
  EXPECT_TRUE(WatcherSees("item c2@localhost name= groups= subscription=remove")) << Watched();
  EXPECT_TRUE(Tree().ContactItems("c2@localhost").empty());
}

// A contact going online, away and offline changes its icon and text in the window.
TEST_F(ProgramContactsTest, APeersPresenceChangesItsIconAndText) {
  server_->AddAccount("localhost", "c1", "pw");
  server_->AddAccount("localhost", "c2", "pw");
  LogIn();
  ChildProcess online;  // stays online for the picture
  online.Start({"/usr/bin/python3", SourceDir() + "/tests/peers/probe_peer.py", "c2@localhost",
                "pw", "127.0.0.1", std::to_string(server_->c2s_port()), "alice@localhost/orvik",
                "30", "available"},
               peerDir_.path(), peerDir_ / "c2.out");
  ChildProcess peer;
  peer.Start({"/usr/bin/python3", SourceDir() + "/tests/peers/probe_peer.py", "c1@localhost", "pw",
              "127.0.0.1", std::to_string(server_->c2s_port()), "alice@localhost/orvik", "1",
              "available", "wait", "wait", "away", "wait", "wait"},
             peerDir_.path(), peerDir_ / "c1.out");
  auto contact1 = [&] { return ContactsOf("Friends").at(0); };
  // Jabber images: 2 online, 14 away, 7 offline; the show text follows the name.
  EXPECT_TRUE(RunUntil([&] { return contact1() == "Contact 1 [2]"; }, 15)) << contact1();
  std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
  EXPECT_TRUE(RunUntil([&] { return contact1() == "Contact 1(away) [14]"; }, 15)) << contact1();
  EXPECT_STREQ(app_->roster->GetItem("c1@localhost", "").status.c_str(), "Out <b>to</b> lunch");
  SaveWindowToPng(app_->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/program_roster_away.png");
  EXPECT_TRUE(RunUntil([&] { return contact1() == "Contact 1 [7]"; }, 20)) << contact1();
}

// An MSN address typed with '@' is sent through the MSN gateway with '%' in its place.
TEST_F(ProgramContactsTest, AnMsnContactIsAddedThroughTheGatewayInTheGatewaysForm) {
  ChildProcess gateway;
  ASSERT_TRUE(StartGateway("msn.localhost", "msn", peerDir_, &gateway));
  StartRosterWatcher();
  LogIn();
  ASSERT_TRUE(RunUntil([&] { return !ContactsOf("Services").empty(); }, 10));
  EXPECT_EQ(ContactsOf("Services"), std::vector<std::string>{"MSN Messenger Service [8]"});

  UserScript user;
  user.At("Add User",
          [](HWND dialog) {
            SendDlgItemMessage(dialog, IDC_ADD_SERVICE, CB_SETCURSEL, 1, 0);  // the MSN gateway
            UserScript::Type(dialog, IDC_ADD_NICKNAME, u"Erin");
            UserScript::Press(dialog, IDOK);
          })
      .At("Add MSN User", [](HWND dialog) {
        UserScript::Type(dialog, 131, u"erin@hotmail.example");
        UserScript::Press(dialog, IDOK);
      });
  Command(40198);
  EXPECT_TRUE(user.Done());
  EXPECT_TRUE(WatcherSees("item erin%hotmail.example@msn.localhost name=Erin")) << Watched();
  std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
  SaveWindowToPng(app_->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/program_roster_gateway.png");
}

}  // namespace
}  // namespace e2e
