// The chat window: sending, the input field, closing, links; the active chats and room
// occupants windows.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/ui/chat_wnd_support.h"
#include "tests/ui/roster_wnd_support.h"
#include "ui/muc_roster_wnd.h"
#include "ui/roster_dialogs.h"

namespace {

struct SendCase {
  const char* name;
  int type;
  const char16_t* typed;
  int sendResult;
  std::vector<std::string> sent;
  const char16_t* echo;  // null: nothing is echoed
};

TEST_F(ChatWndTest, SendingDeliversTheTextAndEchoesItOnce) {
  RosterItem a = Peer("a@x", u"A");
  const std::vector<SendCase> cases = {
      {"utf-8",
       kChatOneToOne,
       u"é€\U0001F600",
       0,
       {"chat bob@x \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
       u"<FONT COLOR = \"RED\">Me says: é€\U0001F600</FONT></P>"},
      {"queued", kChatOneToOne, u"hi", 1, {"chat bob@x hi"}, u"Me says[q]: hi</FONT>"},
      {"invite",
       kChatConference,
       u"/invite carol@x come in",
       0,
       {"invite bob@x carol@x|come in"},
       nullptr},
      {"room", kChatConference, u"/me waves", 0, {"groupchat bob@x /me waves"}, nullptr},
      {"not a room",
       kChatOneToOne,
       u"/invite carol@x hi",
       0,
       {"chat bob@x /invite carol@x hi"},
       u"Me says: /invite carol@x hi"},
      {"group",
       kChatGroup,
       u"hi all",
       0,
       {"chat a@x hi all", "chat b@x hi all"},
       u"Me says: hi all"},
  };
  actions_.members = {a, Peer("b@x", u"B"), a};
  for (const SendCase& c : cases) {
    actions_.log.clear();
    actions_.sendResult = c.sendResult;
    ChatRecord* record = Open(c.type, "bob@x");
    std::size_t before = record->HistoryLength();
    Type(c.typed);
    chat_.Send();
    EXPECT_EQ(actions_.log, c.sent) << c.name;
    EXPECT_EQ(InputText(), u"") << c.name;
    std::u16string added = record->HistoryFrom(before);
    if (c.echo == nullptr) {
      EXPECT_EQ(added, u"") << c.name;
    } else {
      EXPECT_NE(added.find(c.echo), std::u16string::npos) << c.name;
      EXPECT_EQ(added.find(u"says", added.find(u"says") + 1), std::u16string::npos) << c.name;
    }
    chat_.CloseChat(record);
  }
}

TEST_F(ChatWndTest, AGroupWithoutMembersKeepsTheText) {
  Open(kChatGroup, "Friends", u"Friends");
  Type(u"anyone?");
  chat_.Send();
  EXPECT_TRUE(actions_.log.empty());
  EXPECT_EQ(InputText(), u"anyone?");
}

TEST_F(ChatWndTest, EnterSendsByTheSettingAndCtrlInvertsIt) {
  Open(kChatOneToOne, "bob@x");
  for (bool enterSends : {true, false}) {
    settings_.enterKeySends = enterSends;
    actions_.log.clear();
    Type(u"hi");
    SetFocus(Input());
    SimulateKey(Input(), VK_RETURN, u'\r');
    EXPECT_EQ(actions_.log.size(), enterSends ? 1u : 0u) << enterSends;
    Type(u"hi");
    SimulateKeys(Input(), u"Ctrl+Return");
    EXPECT_EQ(actions_.log.size(), 1u) << enterSends;
    EXPECT_EQ(InputText(), enterSends ? u"hi" : u"") << enterSends;
  }
}

TEST_F(ChatWndTest, EachConversationKeepsItsOwnInput) {
  ChatRecord* bob = Open(kChatOneToOne, "bob@x");
  Type(u"for bob");
  ChatRecord* carol = Open(kChatOneToOne, "carol@x", u"Carol");
  EXPECT_EQ(InputText(), u"");
  Type(u"for carol");
  chat_.SetCurrentChat(bob);
  EXPECT_EQ(InputText(), u"for bob");
  chat_.SetCurrentChat(carol);
  EXPECT_EQ(InputText(), u"for carol");
}

TEST_F(ChatWndTest, TheInputHoldsAtMostTheLimitAndNeverHalfACharacter) {
  Open(kChatOneToOne, "bob@x");
  std::u16string longText(1100, u'x');
  SendMessage(Input(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(longText.c_str()));
  EXPECT_EQ(InputText().size(), static_cast<std::size_t>(kChatInputLimit));
  std::u16string straddling = std::u16string(kChatInputLimit - 1, u'y') + u"\U0001F600";
  Type(straddling.c_str());
  EXPECT_EQ(InputText(), std::u16string(kChatInputLimit - 1, u'y'));
}

TEST_F(ChatWndTest, PageKeysInTheInputScrollTheHistory) {
  ChatRecord* record = Open(kChatOneToOne, "bob@x");
  for (int i = 0; i < 80; ++i) {
    chat_.AppendToHistory(record, u"<P>line</P>", false);
  }
  chat_.Redraw();
  ProcessDisplayEvents();
  auto position = [&] {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(chat_.GetView(), SB_VERT, &info);
    return info.nPos;
  };
  SendMessage(chat_.GetView(), WM_VSCROLL, SB_TOP, 0);
  SimulateKey(Input(), VK_NEXT, 0);
  int down = position();
  EXPECT_GT(down, 0);
  SimulateKey(Input(), VK_PRIOR, 0);
  EXPECT_LT(position(), down);
}

TEST_F(ChatWndTest, ClosingLeavesRoomsAndTheLastConversationBringsTheRosterForward) {
  ChatRecord* room = Open(kChatConference, "room@conf", u"room");
  ChatRecord* bob = Open(kChatOneToOne, "bob@x");
  chat_.BringToFront();
  chat_.CloseChat();  // bob is current; the room was shown before, it comes back
  EXPECT_EQ(chat_.CurrentChat(), room);
  EXPECT_EQ(ImageOf(bob), -2);
  EXPECT_TRUE(actions_.log.empty());
  chat_.CloseChat(room);
  EXPECT_EQ(actions_.log, (std::vector<std::string>{"leave room@conf", "roster"}));
  EXPECT_EQ(chat_.CurrentChat(), nullptr);
  EXPECT_TRUE(chat_.Chats().empty());
  EXPECT_TRUE(active_.Items().empty());
  EXPECT_FALSE(IsWindowVisible(chat_.GetHwnd()));
}

TEST_F(ChatWndTest, OnlyWebAndXmppLinksAreFollowed) {
  static std::vector<std::string> opened;
  opened.clear();
  MHtmlWnd::SetOpenUrl([](const mstring& url) {
    opened.push_back(url.c_str());
    return true;
  });
  std::string file = (std::filesystem::path(std::getenv("ORVIK_HOME")) / "page.txt").string();
  FILE* out = std::fopen(file.c_str(), "w");
  std::fputs("<B>local</B>", out);
  std::fclose(out);
  Open(kChatOneToOne, "bob@x");
  std::u16string before = chat_.GetContent().c_str();
  EXPECT_FALSE(chat_.OpenLink(file.c_str()));
  EXPECT_FALSE(chat_.OpenLink("file://x"));
  EXPECT_EQ(std::u16string(chat_.GetContent().c_str()), before);
  EXPECT_TRUE(chat_.OpenLink("xmpp:carol@x"));
  EXPECT_TRUE(chat_.OpenLink("HTTPS://a.b/c"));
  MHtmlWnd::SetOpenUrl(nullptr);
  EXPECT_EQ(actions_.log, std::vector<std::string>{"xmpp xmpp:carol@x"});
  EXPECT_EQ(opened, std::vector<std::string>{"https://a.b/c"});
}

TEST_F(ChatWndTest, ActiveChatsShowNewMessagesRoomsAndPresence) {
  settings_.showStatus = true;
  ChatRecord* bob = chat_.OpenChat(kChatOneToOne, u"Bob", Peer("bob@x", u"Bob", "icq", 1, "away"));
  ChatRecord* sms = chat_.OpenChat(kChatOneToOne, u"S", Peer("s@sms", u"S", "sms"));
  ChatRecord* room = chat_.OpenChat(kChatConference, u"room", Peer("room@conf", u"room"));
  ChatRecord* group = chat_.OpenChat(kChatGroup, u"Friends", Peer("Friends", u"Friends"));
  EXPECT_EQ(ImageOf(bob), 13);
  EXPECT_EQ(ImageOf(sms), -1);
  EXPECT_EQ(ImageOf(room), kRoomImage);
  EXPECT_EQ(ImageOf(group), kRoomImage);
  chat_.SetNewMessage(bob, true);
  chat_.SetNewMessage(room, true);
  EXPECT_EQ(ImageOf(bob), kNewMessageImage);
  EXPECT_EQ(ImageOf(room), kRoomImage);
  RosterItem presence = Peer("BOB@x", u"Bobby", "icq", 0);
  active_.UpdateChat(presence);
  EXPECT_EQ(ImageOf(bob), kNewMessageImage);
  chat_.SetCurrentChat(bob);
  chat_.Show();
  EXPECT_EQ(ImageOf(bob), 6);
  EXPECT_EQ(bob->peer.name, wmstring(u"Bobby"));
  EXPECT_EQ(active_.Items().size(), 4u);
  // A private conversation with a room occupant names the occupant and the room.
  ChatRecord* whisper = chat_.OpenChat(kChatOneToOne, u"me", Peer("room@conf/bob", u"x"));
  for (HTREEITEM item : active_.Items()) {
    if (active_.RecordOf(item) == whisper) {
      WCHAR text[64] = {};
      TVITEM fields{};
      fields.mask = TVIF_TEXT;
      fields.hItem = item;
      fields.pszText = text;
      fields.cchTextMax = 64;
      TreeView_GetItem(active_.Tree(), &fields);
      EXPECT_EQ(std::u16string(text), u"bob (room@conf)");
    }
  }
}

TEST_F(ChatWndTest, ChatOpensTheSelectedConversation) {
  ChatRecord* bob = Open(kChatOneToOne, "bob@x");
  ChatRecord* carol = Open(kChatOneToOne, "carol@x", u"Carol");
  ASSERT_EQ(active_.Items().size(), 2u);
  HTREEITEM first = active_.Items()[0];
  EXPECT_EQ(active_.RecordOf(first), bob);  // sorted: Bob before Carol
  SendMessage(active_.Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
  active_.WindowProc(active_.GetHwnd(), WM_COMMAND, MAKEWPARAM(kActiveChatsChatButton, 0), 0);
  EXPECT_EQ(chat_.CurrentChat(), bob);
  EXPECT_EQ(std::u16string(chat_.GetContent().c_str()), bob->History());
  EXPECT_NE(carol, bob);
}

TEST_F(ChatWndTest, InfoAndDialActOnTheActiveChatsSelection) {
  Open(kChatOneToOne, "bob@x");
  ChatRecord* carol = Open(kChatOneToOne, "carol@x", u"Carol");
  chat_.SetCurrentChat(chat_.FindChat("bob@x", kChatOneToOne));  // the chat window shows Bob
  RecordingActions roster;
  active_.SetRosterActions(&roster);
  for (HTREEITEM item : active_.Items()) {
    if (active_.RecordOf(item) == carol) {
      SendMessage(active_.Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
  }
  active_.WindowProc(active_.GetHwnd(), WM_COMMAND, MAKEWPARAM(40182, 0), 0);  // Dial
  EXPECT_EQ(roster.log, std::vector<std::string>{"Dial carol@x"});
  std::u16string shown;
  UINT_PTR timer = SetTimer(nullptr, 0, 30, PlayStep);
  Steps().assign({{"Contact Information", [&](HWND dialog) {
                     shown = TextOf(dialog, IDC_INFO_JID);
                     Press(dialog, IDOK);
                   }}});
  active_.WindowProc(active_.GetHwnd(), WM_COMMAND, MAKEWPARAM(kActiveChatsInfoButton, 0), 0);
  KillTimer(nullptr, timer);
  EXPECT_EQ(shown.substr(0, 7), u"carol@x");
}

TEST_F(ChatWndTest, RoomOccupantsAreListedAsText) {
  MMUCRosterWnd occupants(nullptr, &stack_, TestFont());
  occupants.Create(nullptr, 0, 0);
  MoveWindow(occupants.GetHwnd(), 0, 0, 400, 300, TRUE);
  ProcessDisplayEvents();
  ChatRecord* room = Open(kChatConference, "room@conf", u"room");
  room->participants["<b>eve&"] = MucParticipant{"moderator", "owner", "dnd"};
  room->participants["zed"] = MucParticipant{"visitor", "none", ""};
  occupants.ShowParticipants(*room);
  std::u16string text;
  for (const HtmlOp& op : occupants.LayoutOps()) {
    text += op.text;
  }
  EXPECT_NE(text.find(u"<b>eve&"), std::u16string::npos);
  EXPECT_NE(text.find(u"moderator, owner (dnd)"), std::u16string::npos);
  EXPECT_NE(text.find(u"visitor, none"), std::u16string::npos);
  EXPECT_EQ(occupants.WindowProc(occupants.GetHwnd(), WM_COMMAND, 104, 0), 1);
  stack_.Remove(&occupants);
  DestroyWindow(occupants.GetHwnd());
}

}  // namespace

namespace {

TEST_F(ChatWndTest, Screenshots) {
  settings_.showStatus = true;
  ChatRecord* bob =
      chat_.OpenChat(kChatOneToOne, u"Bob", Peer("bob@example.org", u"Bob", "", 1, "away"));
  chat_.OpenChat(kChatConference, u"lobby", Peer("lobby@conference.example.org", u"lobby"));
  ChatRecord* carol =
      chat_.OpenChat(kChatOneToOne, u"Carol", Peer("carol@example.org", u"Carol", "msn", 1));
  chat_.SetNewMessage(carol, true);
  chat_.SetCurrentChat(bob);
  chat_.AppendToHistory(bob, u"<P><FONT COLOR = \"BLUE\">Bob says: ", false);
  chat_.AppendToHistory(bob, u":-) the notes are at https://example.org/notes?a=1&b=2 ok", true);
  chat_.AppendToHistory(bob, u"</FONT></P>", false);
  Type(u"Thanks, reading now ;)");
  chat_.Send();
  chat_.BringToFront();
  chat_.Redraw();
  ProcessDisplayEvents();
  EXPECT_TRUE(SaveWindowToPng(chat_.GetHwnd(), ArtifactPath("chat_window.png").c_str()));
  MoveWindow(active_.GetHwnd(), 0, 0, 320, 240, TRUE);
  active_.BringToFront();
  ProcessDisplayEvents();
  EXPECT_TRUE(SaveWindowToPng(active_.GetHwnd(), ArtifactPath("active_chats.png").c_str()));
}

}  // namespace
