// Headlines in the real program against a real Prosody: a news component, a contact and a
// stranger send headlines with markup in every field; the viewer's pages show them word for
// word, a web link starts the browser with the address as one argument, and nothing else does.
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "alerts/headline_wnd.h"
#include "app_e2e/program_fixture.h"
#include "e2e/process_support.h"
#include "platform/gdi.h"
#include "ui/chat_wnd.h"

namespace e2e {
namespace {

constexpr const char* kNews = "news.localhost";
constexpr const char* kWebLink = "https://example.org/a?b=1&c=<2> $(id)";

const std::vector<std::string> kNewsStanzas = {
    "<message from='news.localhost' to='alice@localhost' type='headline'>"
    "<subject>&lt;b&gt;Big&lt;/b&gt; &amp; \"new\"</subject>"
    "<body>Body &lt;i&gt;x&lt;/i&gt; &amp;amp; y</body><x xmlns='jabber:x:oob'>"
    "<url>https://example.org/a?b=1&amp;c=&lt;2&gt; $(id)</url><desc>unused</desc></x></message>",
    "<message from='news.localhost' to='alice@localhost' type='headline'><body>Do not open</body>"
    "<x xmlns='jabber:x:oob'><url>file:///etc/passwd</url><desc>Local &lt;file&gt;</desc></x>"
    "</message>",
    "<message from='news.localhost' to='alice@localhost'><body>legacy</body>"
    "<url-data xmlns='http://jabber.org/protocol/url-data' target='http://example.org/old'>"
    "<desc>Old &amp; form</desc></url-data></message>",
};
const std::vector<std::string> kStrangerStanzas = {
    "<message to='alice@localhost' type='headline'><subject>Spam</subject><body>spam</body>"
    "<x xmlns='jabber:x:oob'><url>http://spam.example/</url></x></message>",
};
const std::vector<std::string> kContactStanzas = {
    "<message to='alice@localhost'><body>From a friend</body><x xmlns='jabber:x:oob'>"
    "<url>https://friend.example/p</url><desc>Friend's &lt;link&gt;</desc></x></message>",
    "<message to='alice@localhost' type='chat'><body>Look at this</body>"
    "<x xmlns='jabber:x:oob'><url>https://friend.example/q</url></x></message>",
};

class ProgramHeadlinesTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    server_->Stop();
    server_->AddComponent(kNews, "news-secret");
    server_->AddAccount("localhost", "c1", "pw");
    server_->AddAccount("localhost", "mallory", "pw");
    ASSERT_TRUE(server_->Start());
    // The browser records its arguments, one per line.
    WriteFile(dir_ / "browser.sh",
              "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + (dir_ / "opened") + "'\n");
    chmod((dir_ / "browser.sh").c_str(), 0700);
    SetText(u"Software\\orvik\\Programs", "iexplore.exe", "\"" + (dir_ / "browser.sh") + "\" %1");
    SetAccount(LocalServer(), "alice", "secret");
    SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
    StartProgram();
    ASSERT_TRUE(WaitForLog("Contact list received")) << Log();
    std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
  }

  // Sends the stanzas as `jid` (a component when `component`) and waits until the sender has
  // left, so that what is sent next arrives after them.
  bool Send(bool component, const std::string& jid, const std::string& secret,
            const std::vector<std::string>& stanzas) {
    std::string file = dir_ / (jid + ".xml");
    std::string text;
    for (const std::string& stanza : stanzas) {
      text += stanza + "\n";
    }
    WriteFile(file, text);
    int port = component ? server_->component_port() : server_->c2s_port();
    ChildProcess sender;
    sender.Start(
        {"/usr/bin/python3", SourceDir() + "/tests/peers/headline_sender.py",
         component ? "component" : "client", jid, secret, "127.0.0.1", std::to_string(port), file},
        dir_.path(), dir_ / "sender.out");
    RunUntil([&] { return !sender.Running(); }, 30);
    return ReadFile(dir_ / "sender.out").find("sent " + std::to_string(stanzas.size())) !=
           std::string::npos;
  }

  MHeadlineWnd& viewer() { return *routes().headlineWindow(); }
  std::size_t Kept(const char16_t* source) {
    const MHeadlineStore::Source* kept = viewer().Store().Find(source);
    return kept != nullptr ? kept->headlines.size() : 0;
  }
  // What the view shows: the text of every laid-out run, in order.
  std::u16string ShownNow() {
    std::u16string text;
    for (const HtmlOp& op : viewer().LayoutOps()) {
      text += op.text;
    }
    return text;
  }
  std::u16string Shown(const std::u16string& expected) {
    viewer().Redraw();
    RunUntil([&] { return ShownNow() == expected; }, 5);
    return ShownNow();
  }
  // The links of the page in order (a link drawn in several runs counts once).
  std::vector<std::string> Targets() {
    std::vector<std::string> targets;
    for (const HtmlLink& link : viewer().Links()) {
      if (targets.empty() || targets.back() != link.target.c_str()) {
        targets.push_back(link.target.c_str());
      }
    }
    return targets;
  }
  // A tap in the middle of the link to `target`; false when the page has no such link.
  bool Tap(const std::string& target) {
    for (const HtmlLink& link : viewer().Links()) {
      if (target == link.target.c_str()) {
        SimulateClick(viewer().GetView(), (link.left + link.right) / 2,
                      (link.top + link.bottom) / 2, FALSE, FALSE);
        ProcessDisplayEvents();
        return true;
      }
    }
    return false;
  }
  void Screenshot(const char* name) {
    SaveWindowToPng(app_->mainFrame->GetHwnd(),
                    (std::string(ORVIK_ARTIFACTS_DIR "/") + name).c_str());
  }

  TempDir dir_;
};

TEST_F(ProgramHeadlinesTest, PagesShowEveryFieldAsSentAndOnlyWebLinksOpen) {
  ASSERT_TRUE(Send(true, kNews, "news-secret", kNewsStanzas)) << ReadFile(dir_ / "sender.out");
  ASSERT_TRUE(RunUntil([&] { return Kept(u"news.localhost") == 3; }, 20));
  // Three headlines from one sender: one popup.
  EXPECT_EQ(routes().notifications().Count(), 1u);
  EXPECT_NE(routes().notifications().FindByTitle(u"news.localhost"), 0u);

  ASSERT_TRUE(Send(false, "mallory@localhost", "pw", kStrangerStanzas));
  ASSERT_TRUE(Send(false, "c1@localhost", "pw", kContactStanzas));
  ASSERT_TRUE(RunUntil(
      [&] { return app_->chatWindow->FindChat("c1@localhost", kChatOneToOne) != nullptr; }, 20));
  EXPECT_EQ(Kept(u"Contact 1"), 1u);                 // the chat with a link stayed a chat
  EXPECT_EQ(viewer().Store().Sources().size(), 2u);  // the stranger's was dropped

  SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, 40164, 0);  // View > Headlines
  ASSERT_TRUE(viewer().IsTopWindow());
  const std::u16string bar = u"[Index][Close]";
  EXPECT_EQ(Shown(bar + u"News SourcesContact 1news.localhost" + bar),
            bar + u"News SourcesContact 1news.localhost" + bar);
  Screenshot("headlines_index.png");

  ASSERT_TRUE(Tap("source:news.localhost"));
  std::u16string news = bar + u"<b>Big</b> & \"new\"Body <i>x</i> &amp; yLocal <file>" +
                        u"file:///etc/passwdDo not openOld & formlegacy" + bar;
  EXPECT_EQ(Shown(news), news);
  Screenshot("headlines_news.png");
  EXPECT_EQ(Targets(), (std::vector<std::string>{"index", "close", kWebLink,
                                                 "http://example.org/old", "index", "close"}));

  ASSERT_TRUE(Tap(kWebLink));
  EXPECT_TRUE(
      RunUntil([&] { return ReadFile(dir_ / "opened") == std::string(kWebLink) + "\n"; }, 10))
      << ReadFile(dir_ / "opened");
  EXPECT_EQ(viewer().CurrentPage(), "source:news.localhost");

  ASSERT_TRUE(Tap("index"));
  ASSERT_TRUE(Tap("source:Contact%201"));
  std::u16string contact = bar + u"Friend's <link>From a friend" + bar;
  EXPECT_EQ(Shown(contact), contact);
  Screenshot("headlines_contact.png");

  ASSERT_TRUE(Tap("close"));
  EXPECT_FALSE(viewer().IsTopWindow());
  EXPECT_EQ(ReadFile(dir_ / "opened"), std::string(kWebLink) + "\n");
}

}  // namespace
}  // namespace e2e
