// The roster window over a real roster model: presence images and display texts, the groups it
// shows, the only-online toggle, model changes, and the Add, Rename and Remove dialogs.
#include "tests/ui/roster_wnd_support.h"
#include "ui/roster_dialogs.h"
#include "ui/roster_images.h"

namespace {

TEST_F(RosterWndTest, PresenceImageAndDisplayTextFollowTheContactsPresence) {
  struct Row {
    const char* name;
    const char* service;
    std::uint32_t online;
    const char* show;
    bool showStatus;
    std::u16string text;
    int image;
  };
  const Row rows[] = {
      {"amy@example.org", "", 1, "away", true, u"amy(away)", 14},
      {"Bob", "", 1, "chat", true, u"Bob(chat)", 2},
      {"Bob", "", 1, "Available", false, u"Bob", 2},
      {"Bob", "", 1, "dnd", false, u"Bob", 14},
      {"Bob", "ICQ", 1, "", true, u"Bob", 1},
      {"Bob", "icq", 1, "xa", true, u"Bob(xa)", 13},
      {"Bob", "aim", 1, "", true, u"Bob", 0},
      {"Bob", "yahoo", 1, "away", true, u"Bob(away)", 16},
      {"Bob", "msn", 0, "", true, u"Bob", 8},
      {"Bob", "irc", 1, "", true, u"Bob", 2},
      {"Bob", "", 0, "away", true, u"Bob(away)", 7},
      {"<b>Bob</b> &amp; co", "", 1, "", true, u"<b>Bob</b> &amp; co", 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name + std::string(" ") + row.service + " " + row.show);
    settings_.showStatus = row.showStatus;
    RosterItem item;
    item.jid = "bob@example.org";
    item.name = utf8_to_wide(mstring(row.name));
    item.group = u"Friends";
    item.serviceType = row.service;
    item.online = row.online;
    item.show = row.show;
    wnd_.PresenceChanged(item, "");
    EXPECT_EQ(TextOfItem("bob@example.org"), row.text);
    EXPECT_EQ(wnd_.Tree().Image(ItemOf("bob@example.org")), row.image);
    EXPECT_EQ(PresenceImage(row.service, row.online, row.show), row.image);
  }
}

TEST_F(RosterWndTest, ContactsArriveOfflineSortedUnderTheirGroupAndTakeTheirPresence) {
  roster_.AddGroup(mstring("Friends"));
  for (const char* jid : {"zed@example.org", "amy@example.org", "max@example.org"}) {
    RosterItem item;
    item.jid = jid;
    item.name = utf8_to_wide(mstring(jid));
    item.group = u"Friends";
    item.shown = 1;
    roster_.AddRosterItem(item);
  }
  HTREEITEM group = wnd_.Tree().FindGroup(u"Friends");
  ASSERT_NE(group, nullptr);
  std::vector<std::u16string> texts;
  for (HTREEITEM item : wnd_.Tree().Children(group)) {
    texts.push_back(wnd_.Tree().Text(item).c_str());
    EXPECT_EQ(wnd_.Tree().Image(item), 7);  // offline until a presence arrives
  }
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"amy", u"max", u"zed"}));
  RosterItem presence;
  presence.jid = "max@example.org";
  presence.online = 1;
  presence.show = "dnd";
  roster_.UpdatePresence(presence);
  EXPECT_EQ(TextOfItem("max@example.org"), u"max(dnd)");
  EXPECT_EQ(wnd_.Tree().Image(ItemOf("max@example.org")), 14);
  EXPECT_EQ(wnd_.Tree().Image(group), kGroupExpandedImage);
}

TEST_F(RosterWndTest, TheImageListHoldsSeventeenImagesInBothSizes) {
  for (bool small : {false, true}) {
    HIMAGELIST list = CreateRosterImageList(nullptr, small);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), kRosterImageCount);
    ImageList_Destroy(list);
  }
}

TEST_F(RosterWndTest, ServicesGroupIsShownOnlyWithShowServices) {
  Gateway("msn.example.org", "MSN Gateway", "msn");
  HTREEITEM services = wnd_.Tree().FindGroup(u"Services");
  ASSERT_NE(services, nullptr);
  EXPECT_EQ(wnd_.Tree().Children(services).size(), 1u);

  settings_.showServices = false;
  wnd_.Reset();
  roster_.Clear();
  roster_.AddService(AgentEntry{"icq.example.org", "ICQ Gateway", "", "icq", 1});
  Contact("Friends", "Amy", "amy@example.org", 1);
  wnd_.Repopulate(false);
  EXPECT_EQ(wnd_.Tree().FindGroup(u"Services"), nullptr);
  EXPECT_NE(ItemOf("amy@example.org"), nullptr);
}

TEST_F(RosterWndTest, OnlyOnlineToggledTwiceRestoresEveryContactAndTheCheckMark) {
  Contact("Friends", "Amy", "amy@example.org", 1);
  Contact("Friends", "Ben", "ben@example.org", 0);
  Contact("Work", "Cid", "cid@example.org", 1, "away");
  HMENU menu = MenuBarMenu(bar_);
  Command(kOnlyOnlineCommand);
  EXPECT_TRUE(settings_.onlyOnline);
  EXPECT_EQ(ItemOf("ben@example.org"), nullptr);
  EXPECT_EQ(TextOfItem("cid@example.org"), u"Cid(away)");
  EXPECT_EQ(GetMenuState(menu, kOnlyOnlineCommand, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
  // While only online contacts are shown, one who is not online is not brought in.
  Contact("Work", "Dee", "dee@example.org", 0);
  EXPECT_EQ(ItemOf("dee@example.org"), nullptr);
  Command(kOnlyOnlineCommand);
  EXPECT_FALSE(settings_.onlyOnline);
  for (const char* jid :
       {"amy@example.org", "ben@example.org", "cid@example.org", "dee@example.org"}) {
    EXPECT_NE(ItemOf(jid), nullptr) << jid;
  }
  EXPECT_EQ(wnd_.Tree().Image(ItemOf("ben@example.org")), 7);
  EXPECT_EQ(GetMenuState(menu, kOnlyOnlineCommand, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(RosterWndTest, AContactMovedToAnotherGroupByTheServerMovesInTheTree) {
  Contact("Friends", "Amy", "amy@example.org", 1, "away");
  roster_.AddGroup(mstring("Work"));
  RosterItem moved;
  moved.jid = "amy@example.org";
  moved.name = u"Amy";
  moved.group = u"Work";
  moved.subscription = "both";
  moved.shown = 1;
  roster_.AddRosterItem(moved);
  EXPECT_EQ(GroupOf("amy@example.org"), u"Work");
  EXPECT_EQ(TextOfItem("amy@example.org"), u"Amy(away)");
  EXPECT_TRUE(wnd_.Tree().Children(wnd_.Tree().FindGroup(u"Friends")).empty());
  roster_.RemoveItem(moved);
  EXPECT_EQ(ItemOf("amy@example.org"), nullptr);
}

TEST_F(RosterWndTest, AddUserCompletesAJabberAddressAndRefusesASpace) {
  roster_.AddGroup(mstring("Friends"));
  int boxes = MessageBoxCount();
  std::u16string firstGroup;
  Script({
      {"Add User",
       [&](HWND dialog) {
         firstGroup = TextOf(dialog, IDC_ADD_GROUP);
         SaveWindowToPng(dialog, ArtifactPath("roster_add_user.png").c_str());
         SetDlgItemTextW(dialog, IDC_ADD_GROUP, u"Friends");
         SetDlgItemTextW(dialog, IDC_ADD_NICKNAME, u"Ann");
         Press(dialog, IDOK);
       }},
      {"Add Jabber User",
       [](HWND dialog) {
         SetDlgItemTextW(dialog, 105, u"ann smith");
         Press(dialog, IDOK);
       }},
      {"Add User", [](HWND dialog) { Press(dialog, IDOK); }},
      {"Add Jabber User",
       [](HWND dialog) {
         SetDlgItemTextW(dialog, 105, u"ann2");
         Press(dialog, IDOK);
       }},
  });
  Command(40198);
  EXPECT_EQ(firstGroup, u"Contacts");  // preselected, listed once after the model's groups
  EXPECT_EQ(MessageBoxCount(), boxes + 1);
  WCHAR caption[64] = {};
  LastMessageBox(nullptr, 0, caption, 64, nullptr);
  EXPECT_EQ(std::u16string(caption), u"Invalid Address");
  EXPECT_EQ(actions_.log, (std::vector<std::string>{"Add ann2@example.org | Ann | Friends"}));
}

TEST_F(RosterWndTest, AddUserThroughTheMsnGatewayTakesTheGatewaysForm) {
  Gateway("msn.example.org", "MSN Gateway", "msn");
  std::vector<std::u16string> services;
  Script({
      {"Add User",
       [&](HWND dialog) {
         LRESULT count = SendDlgItemMessage(dialog, IDC_ADD_SERVICE, CB_GETCOUNT, 0, 0);
         for (LRESULT i = 0; i < count; ++i) {
           WCHAR text[100] = {};
           SendDlgItemMessage(dialog, IDC_ADD_SERVICE, CB_GETLBTEXT, static_cast<WPARAM>(i),
                              reinterpret_cast<LPARAM>(text));
           services.push_back(text);
         }
         SendDlgItemMessage(dialog, IDC_ADD_SERVICE, CB_SETCURSEL, 1, 0);
         Press(dialog, IDOK);
       }},
      {"Add MSN User",
       [](HWND dialog) {
         SetDlgItemTextW(dialog, 131, u"bob@hotmail.com");
         Press(dialog, IDOK);
       }},
  });
  Command(kRosterAddButton);
  EXPECT_EQ(services, (std::vector<std::u16string>{u"Jabber Service", u"MSN Gateway"}));
  EXPECT_EQ(actions_.log,
            (std::vector<std::string>{"Add bob%hotmail.com@msn.example.org |  | Contacts"}));
}

TEST_F(RosterWndTest, AnEmptyAddressAddsNothing) {
  Script(
      {{"Add User", [](HWND dialog) { Press(dialog, IDOK); }}, {"Add Jabber User", [](HWND dialog) {
                                                                  SetDlgItemTextW(dialog, 105, u"");
                                                                  Press(dialog, IDOK);
                                                                }}});
  Command(40198);
  EXPECT_TRUE(actions_.log.empty());
}

TEST_F(RosterWndTest, RenameMovesTheContactAndShowsItsStatus) {
  Contact("Friends", "Amy", "amy@example.org", 1, "away", "<i>at lunch</i>");
  Select("amy@example.org");
  std::u16string current;
  Script({{"Rename User", [&](HWND dialog) {
             current = TextOf(dialog, IDC_RENAME_CURRENT);
             SetDlgItemTextW(dialog, IDC_RENAME_NICKNAME, u"Amy P");
             SetDlgItemTextW(dialog, IDC_RENAME_GROUP, u"Work");
             Press(dialog, IDOK);
           }}});
  Command(kPopupRename);
  EXPECT_EQ(current, u"Amy");
  EXPECT_EQ(GroupOf("amy@example.org"), u"Work");
  EXPECT_EQ(TextOfItem("amy@example.org"), u"Amy P(<i>at lunch</i>)");
  wmstring group;
  const RosterItem& model = roster_.FindItem("amy@example.org", "", &group);
  EXPECT_EQ(std::u16string(model.name.c_str()), u"Amy P");
  EXPECT_EQ(std::u16string(group.c_str()), u"Work");
  EXPECT_EQ(model.online, 1u);
  EXPECT_EQ(actions_.log, (std::vector<std::string>{"Rename amy@example.org | Amy P | Work"}));
}

TEST_F(RosterWndTest, RemoveAsksFirstAndTakesTheContactOutOfModelAndTree) {
  Contact("Friends", "<b>Amy</b>", "amy@example.org", 1);
  Select("amy@example.org");
  std::u16string shown;
  Script({{"Remove User", [&](HWND dialog) {
             shown = TextOf(dialog, IDC_REMOVE_NICKNAME);
             SaveWindowToPng(dialog, ArtifactPath("roster_remove_user.png").c_str());
             Press(dialog, IDCANCEL);
           }}});
  Command(kPopupRemove);
  EXPECT_EQ(shown, u"<b>Amy</b>");  // shown as typed, never as markup
  EXPECT_NE(ItemOf("amy@example.org"), nullptr);
  EXPECT_TRUE(actions_.log.empty());

  Script({{"Remove User", [](HWND dialog) { Press(dialog, IDOK); }}});
  Command(kPopupRemove);
  EXPECT_EQ(ItemOf("amy@example.org"), nullptr);
  EXPECT_TRUE(roster_.FindItem("amy@example.org", "").jid.empty());
  EXPECT_EQ(actions_.log,
            (std::vector<std::string>{"Remove amy@example.org | <b>Amy</b> | Friends"}));
}

TEST_F(RosterWndTest, ContactInformationShowsTheAddressWithResourceAndNoLocation) {
  Contact("Friends", "Amy", "amy@example.org", 1);
  Select("amy@example.org");
  std::vector<std::u16string> texts;
  bool mapEnabled = true;
  Script({{"Contact Information", [&](HWND dialog) {
             for (int id : {IDC_INFO_NICKNAME, IDC_INFO_JID, IDC_INFO_RESOURCE, IDC_INFO_SERVICE,
                            IDC_INFO_LATITUDE, IDC_INFO_DISTANCE}) {
               texts.push_back(TextOf(dialog, id));
             }
             mapEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_INFO_MAP));
             Press(dialog, IDOK);
           }}});
  Command(kRosterInfoButton);
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"Amy", u"amy@example.org/desk", u"desk", u"Jabber",
                                                u"UNKNOWN", u"UNKNOWN"}));
  EXPECT_FALSE(mapEnabled);
}

TEST_F(RosterWndTest, ChatWaitsForTheChatWindowAndOtherCommandsGoToTheFrame) {
  Contact("Friends", "Amy", "amy@example.org", 1);
  Select("amy@example.org");
  EXPECT_FALSE(IsWindowEnabled(wnd_.Control(kRosterChatButton)));
  HMENU popup = wnd_.CreateContactMenu();
  EXPECT_EQ(GetMenuState(popup, kPopupChat, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  DestroyMenu(popup);
  Command(kRosterChatButton);
  EXPECT_TRUE(actions_.log.empty());

  actions_.canChat = true;
  wnd_.SetActions(&actions_);
  EXPECT_TRUE(IsWindowEnabled(wnd_.Control(kRosterChatButton)));
  NMHDR doubleTap{wnd_.Tree().Hwnd(), kRosterTreeId, NM_DBLCLK};
  wnd_.WindowProc(wnd_.GetHwnd(), WM_NOTIFY, kRosterTreeId, reinterpret_cast<LPARAM>(&doubleTap));
  Command(40211);
  EXPECT_EQ(actions_.log, (std::vector<std::string>{"Chat amy@example.org/desk", "ActiveChats"}));

  Command(40035);
  Command(40116);
  EXPECT_EQ(frame_.commands, (std::vector<UINT>{40035, 40116}));
}

TEST_F(RosterWndTest, Screenshot) {
  Gateway("msn.example.org", "MSN Gateway", "msn");
  Contact("Friends", "Amy Lee", "amy@example.org", 1, "", "at my desk");
  Contact("Friends", "bob@example.org", "bob@example.org", 1, "away");
  Contact("Friends", "Cat", "cat@example.org", 0);
  Contact("Work", "Dan (ICQ)", "12345@icq.example.org", 1, "dnd");
  Contact("Work", "Eve", "eve%hotmail.com@msn.example.org", 1, "chat");
  Contact("Work", "Fay", "fay@example.org", 0);
  RunUntil([] { return false; }, 0.2);
  ASSERT_TRUE(SaveWindowToPng(frame_.GetHwnd(), ArtifactPath("roster_window.png").c_str()));
  RECT tree{};
  GetWindowRect(wnd_.Tree().Hwnd(), &tree);
  RECT button{};
  GetWindowRect(wnd_.Control(kRosterAddButton), &button);
  EXPECT_GE(button.bottom - button.top, 28);
  EXPECT_LE(tree.bottom, button.top);
}

}  // namespace
