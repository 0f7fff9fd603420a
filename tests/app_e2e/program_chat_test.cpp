// Chatting in the real program against a real Prosody with a conference service, with slixmpp
// peers and go-sendxmpp on the other side: every character arrives and shows as it was sent,
// links are links, rooms show who comes and goes, private room messages stay private, and a
// message that bounces is one line.
#include <algorithm>
#include <string>
#include <vector>

#include "app/app_messages.h"
#include "app/setup_dialogs.h"
#include "chat_peer.h"
#include "platform/gdi.h"
#include "platform/reg_text.h"
#include "program_fixture.h"
#include "ui/chat_wnd.h"
#include "ui/phrase_chooser.h"
#include "user_script.h"

namespace e2e {
namespace {

const std::string kRoom = "lounge@conference.localhost";

// Text that must survive the trip both ways exactly: markup characters, quotes, accents, the
// euro sign, an emoji (outside the Basic Multilingual Plane) and two kinds of link.
const std::vector<std::string> kBodies = {
    "Tom & Jerry &amp; friends",
    "<tag>not markup</tag> <A HREF='/etc/passwd'>x",
    "\"double\" and 'single' quotes",
    "caf\u00e9 costs 5 \u20ac",
    "smile \U0001F600 please",
    "good :-) day",
    "see www.example.org/path?q=1&r=2 now",
    "and https://example.org/a?b=1&c=2 too",
};

std::u16string U16(const std::string& text) {
  return std::u16string(utf8_to_wide(text.c_str()).c_str());
}

// go-sendxmpp verifies the server's certificate against the system's authorities, or this file.
std::vector<std::pair<std::string, std::string>> TrustTestCa() {
  return {{"SSL_CERT_FILE", TestCa::Get().ca_file()}};
}

class ProgramChatTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    server_->Stop();
    server_->AddMuc();
    for (const char* user : {"bob", "carol"}) {
      server_->AddAccount("localhost", user, "pw");
    }
    ASSERT_TRUE(server_->Start());
    SetAccount(LocalServer(), "alice", "secret");
    SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
    StartProgram();
    ASSERT_TRUE(WaitForLog("Contact list received")) << Log();
    routes().dispatcher().SetNotifier(nullptr);  // counted, not shown
  }

  bool StartPeer(ChatPeer& peer, const std::string& user) {
    return peer.Start(user + "@localhost", "pw", server_->c2s_port(), peerDir_.path());
  }
  MChatWnd& chat() { return *app_->chatWindow; }
  MCountingNotifier& notifier() { return routes().dispatcher().CountingNotifier(); }

  ChatRecord* WaitForChat(const std::string& jid, int type) {
    ChatRecord* record = nullptr;
    RunUntil([&] { return (record = chat().FindChat(jid.c_str(), type)) != nullptr; }, 20);
    return record;
  }
  ::testing::AssertionResult WaitForHistory(ChatRecord* record, const std::u16string& text) {
    if (RunUntil([&] { return record->History().find(text) != std::u16string::npos; }, 20)) {
      return ::testing::AssertionSuccess();
    }
    std::u16string history = record->History();
    return ::testing::AssertionFailure()
           << "history ends: "
           << reg::Utf16ToUtf8(
                  history.substr(history.size() - std::min<size_t>(history.size(), 1000)));
  }
  // What the view shows of `record`: the text of every laid-out run, in order.
  std::u16string Shown(ChatRecord* record) {
    chat().SetCurrentChat(record);
    chat().Show();
    chat().Redraw();
    RunUntil([&] { return !chat().LayoutOps().empty(); }, 3);
    std::u16string text;
    for (const HtmlOp& op : chat().LayoutOps()) {
      text += op.text;
    }
    return text;
  }
  bool HasLink(const std::string& target) {
    for (const HtmlLink& link : chat().Links()) {
      if (std::string(link.target.c_str()) == target) {
        return true;
      }
    }
    return false;
  }
  // Types `text` into the input field of the current conversation and presses Enter.
  void Type(const std::string& text) {
    HWND input = chat().Control(kChatInputId);
    SetWindowTextW(input, utf8_to_wide(text.c_str()).c_str());
    SimulateKey(input, VK_RETURN, u'\r');
    ProcessDisplayEvents();
  }

  TempDir peerDir_;
};

TEST_F(ProgramChatTest, OneToOneKeepsEveryCharacterBothWays) {
  ChatPeer bob;
  ASSERT_TRUE(StartPeer(bob, "bob")) << bob.Output();
  std::string longBody;
  while (longBody.size() < 30000) {
    longBody += "word" + std::to_string(longBody.size() % 997) + " ";
  }
  std::vector<std::string> received = kBodies;
  received.push_back(longBody);
  bob.Command({"sendtype", "alice@localhost", "chat", ""});  // as a typing notification is
  for (const std::string& body : received) {
    bob.Command({"send", "alice@localhost", body});
  }
  ChatRecord* record = WaitForChat("bob@localhost", kChatOneToOne);
  ASSERT_NE(record, nullptr);
  ASSERT_TRUE(WaitForHistory(record, U16(longBody.substr(longBody.size() - 40)))) << bob.Output();
  std::u16string shown = Shown(record);
  for (const std::string& body : received) {
    EXPECT_NE(shown.find(U16(body)), std::u16string::npos) << body;
  }
  EXPECT_NE(shown.find(u"bob says: "), std::u16string::npos);
  EXPECT_TRUE(HasLink("http://www.example.org/path?q=1&r=2"));
  EXPECT_TRUE(HasLink("https://example.org/a?b=1&c=2"));
  EXPECT_FALSE(HasLink("/etc/passwd"));
  EXPECT_TRUE(std::any_of(chat().LayoutOps().begin(), chat().LayoutOps().end(),
                          [](const HtmlOp& op) { return op.kind == HtmlOp::Kind::Image; }));
  EXPECT_EQ(1, notifier().Sounds(EventSound::FirstMessage));
  EXPECT_EQ(static_cast<int>(received.size()), notifier().Sounds(EventSound::Message));

  for (const std::string& body : kBodies) {
    Type(body);
    EXPECT_NE(bob.WaitForMessage(body), nullptr) << body << "\n" << bob.Output();
  }
  EXPECT_NE(Shown(record).find(u"alice says: caf\u00e9"), std::u16string::npos);
  SaveWindowToPng(app_->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/program_chat.png");
}

TEST_F(ProgramChatTest, GoSendxmppIsASecondPeerBothWays) {
  const std::string body = "from go & <back> \U0001F600";
  ChildProcess listener;
  ASSERT_TRUE(listener.Start({"go-sendxmpp", "--listen", "-u", "carol@localhost", "-p", "pw", "-j",
                              "127.0.0.1:" + std::to_string(server_->c2s_port())},
                             peerDir_.path(), peerDir_ / "listen.out", TrustTestCa()));
  WriteFile(peerDir_ / "body.txt", body);
  ChildProcess sender;
  ASSERT_TRUE(sender.Start({"go-sendxmpp", "-u", "carol@localhost", "-p", "pw", "-j",
                            "127.0.0.1:" + std::to_string(server_->c2s_port()), "-m",
                            peerDir_ / "body.txt", "alice@localhost"},
                           peerDir_.path(), peerDir_ / "send.out", TrustTestCa()));
  ChatRecord* record = WaitForChat("carol@localhost", kChatOneToOne);
  ASSERT_NE(record, nullptr) << ReadFile(peerDir_ / "send.out");
  ASSERT_TRUE(WaitForHistory(record, u"back")) << ReadFile(peerDir_ / "send.out");
  EXPECT_NE(Shown(record).find(U16(body)), std::u16string::npos);

  Type("to go & <there> \U0001F600");
  EXPECT_TRUE(RunUntil(
      [&] {
        return ReadFile(peerDir_ / "listen.out").find("to go & <there> \U0001F600") !=
               std::string::npos;
      },
      20))
      << ReadFile(peerDir_ / "listen.out");
}

TEST_F(ProgramChatTest, ARoomShowsWhoComesAndGoesAndKeepsPrivateMessagesPrivate) {
  ChatPeer bob;
  ChatPeer carol;
  ASSERT_TRUE(StartPeer(bob, "bob")) << bob.Output();
  ASSERT_TRUE(StartPeer(carol, "carol")) << carol.Output();
  ASSERT_TRUE(bob.Run({"join", kRoom, "bob"})) << bob.Output();

  UserScript user;
  user.At("Join Room", [](HWND dialog) {
    UserScript::Type(dialog, kJoinRoomAddress, u"lounge@conference.localhost");
    UserScript::Type(dialog, kJoinRoomNickname, u"alice");
    UserScript::Press(dialog, IDOK);
  });
  SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, 40260, 0);
  ChatRecord* room = WaitForChat(kRoom, kChatConference);
  ASSERT_NE(room, nullptr);
  ASSERT_TRUE(WaitForHistory(room, u"bob has joined.")) << bob.Output();

  ASSERT_TRUE(bob.Run({"subject", kRoom, "Plans & <ideas>"}));
  ASSERT_TRUE(WaitForHistory(room, u"changes the subject to: "));
  // A nickname is text, whatever it looks like.
  const std::string nick = "<A HREF='/etc/passwd'>x & co";
  ASSERT_TRUE(carol.Run({"join", kRoom, nick}));
  ASSERT_TRUE(carol.Run({"groupchat", kRoom, "hello from carol"}));
  ASSERT_TRUE(WaitForHistory(room, u"hello from carol"));
  EXPECT_EQ(1u, room->participants.count(nick.c_str()));
  ASSERT_TRUE(carol.Run({"leave", kRoom}));
  ASSERT_TRUE(WaitForHistory(room, u"co has left."));
  EXPECT_EQ(0u, room->participants.count(nick.c_str()));
  ASSERT_TRUE(bob.Run({"groupchat", kRoom, "hello room"}));
  ASSERT_TRUE(WaitForHistory(room, u"hello room"));
  std::u16string shown = Shown(room);
  EXPECT_NE(shown.find(u"bob changes the subject to: Plans & <ideas>"), std::u16string::npos);
  for (const std::u16string line : {u" has joined.", u" says: hello from carol", u" has left."}) {
    EXPECT_NE(shown.find(U16(nick) + line), std::u16string::npos) << reg::Utf16ToUtf8(line);
  }
  EXPECT_NE(shown.find(u"bob says: hello room"), std::u16string::npos);
  EXPECT_TRUE(chat().Links().empty());

  Type("hi all");
  EXPECT_NE(bob.WaitForMessage("hi all"), nullptr) << bob.Output();
  ASSERT_TRUE(WaitForHistory(room, u"hi all"));
  EXPECT_NE(Shown(room).find(u"alice says: hi all"), std::u16string::npos);
  EXPECT_EQ(room->History().find(u"<FONT COLOR=\"GREEN\"></FONT>"), std::u16string::npos);
  Type("/invite carol@localhost join us");
  Json invite = carol.WaitFor([](const Json& e) { return e["event"] == "invite"; });
  ASSERT_NE(invite, nullptr) << carol.Output();
  EXPECT_EQ(invite["room"], kRoom);
  EXPECT_EQ(invite.value("reason", ""), "join us");

  // A private message from an occupant has a conversation of its own; the reply goes back to
  // that occupant only.
  ASSERT_TRUE(bob.Run({"pm", kRoom, "alice", "psst"}));
  ChatRecord* whisper = WaitForChat(kRoom + "/bob", kChatOneToOne);
  ASSERT_NE(whisper, nullptr);
  ASSERT_TRUE(WaitForHistory(whisper, u"psst"));
  EXPECT_NE(Shown(whisper).find(u"bob says: psst"), std::u16string::npos);
  EXPECT_EQ(room->History().find(u"psst"), std::u16string::npos);
  Type("just for you");
  Json reply = bob.WaitForMessage("just for you");
  ASSERT_NE(reply, nullptr);
  EXPECT_EQ(reply["type"], "chat");
  EXPECT_EQ(reply["from"], kRoom + "/alice");

  Shown(room);
  SaveWindowToPng(app_->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/program_room.png");
  SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, 40261, 0);  // Room Participants
  ProcessDisplayEvents();
  SaveWindowToPng(app_->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/program_participants.png");
  SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, 40211, 0);  // Active Chats
  ProcessDisplayEvents();
  SaveWindowToPng(app_->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/program_active_chats.png");

  // Closing the room's conversation leaves the room.
  chat().SetCurrentChat(room);
  SendMessage(chat().GetHwnd(), WM_COMMAND, MAKEWPARAM(kChatCloseButton, BN_CLICKED), 0);
  EXPECT_NE(bob.WaitFor([](const Json& e) {
    return e["event"] == "presence" && e.value("from", "") == kRoom + "/alice" &&
           e.value("type", "") == "unavailable";
  }),
            nullptr)
      << bob.Output();
  EXPECT_EQ(chat().FindChat(kRoom.c_str(), kChatConference), nullptr);
}

TEST_F(ProgramChatTest, ABouncedMessageIsOneQuietLine) {
  // The server bounces a message to an account it does not have.
  ChatRecord* record =
      routes().dispatcher().Conversations().ShowConversation("nobody@localhost", "");
  ASSERT_NE(record, nullptr);
  int firstSounds = notifier().Sounds(EventSound::FirstMessage);
  Type("lost");
  ASSERT_TRUE(WaitForHistory(record, u"Not delivered to nobody@localhost"));
  std::u16string shown = Shown(record);
  EXPECT_EQ(shown.find(u"says: lost"), shown.rfind(u"says: lost"));  // the echo only
  EXPECT_EQ(0, notifier().Sounds(EventSound::Message));
  EXPECT_EQ(firstSounds, notifier().Sounds(EventSound::FirstMessage));
  EXPECT_EQ(0, notifier().Popups());
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// The user opens a conversation from the command line, then composes with the quick-phrase
// chooser using the keyboard on its list; a fresh profile gets the shipped phrases.
TEST_F(ProgramChatTest, QuickPhrasesFromTheMenuAreAppendedToTheInput) {
  const char line[] = "-cw bob@localhost";
  COPYDATASTRUCT data{kCommandLineTag, sizeof line - 1, const_cast<char*>(line)};
  SendMessage(app_->mainFrame->GetHwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  ASSERT_NE(WaitForChat("bob@localhost", kChatOneToOne), nullptr);
  HWND input = chat().Control(kChatInputId);
  SetWindowTextW(input, u"Well,");

  std::u16string composed;
  UserScript user;
  user.At("RididEdazov", [&](HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_PHRASE_LIST);
    SimulateKey(list, VK_DOWN, 0);  // from "Hi" to "Hello": chosen
    ProcessDisplayEvents();
    SimulateKey(list, VK_DOWN, 0);  // the first follow-up: "there"
    ProcessDisplayEvents();
    UserScript::Press(dialog, IDC_PHRASE_EXCLAIM);
    SaveWindowToPng(app_->mainFrame->GetHwnd(), ORVIK_ARTIFACTS_DIR "/program_quick_phrases.png");
    WCHAR edit[128] = {};
    GetDlgItemTextW(dialog, IDC_PHRASE_EDIT, edit, 128);
    composed = edit;
    UserScript::Press(dialog, IDOK);
  });
  SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, 40157, 0);
  ASSERT_TRUE(user.Done());
  EXPECT_EQ(composed, u"Hello there!");
  WCHAR text[128] = {};
  GetWindowTextW(input, text, 128);
  EXPECT_EQ(std::u16string(text), u"Well,Hello there!");
  EXPECT_TRUE(home_->Exists("device/WINDOWS/RididEdazov.xml"));
}

}  // namespace
}  // namespace e2e
