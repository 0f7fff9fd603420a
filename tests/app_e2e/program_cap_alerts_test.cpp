// Emergency alerts in the real program: a slixmpp broadcaster sends CAP 1.0 alerts to the user
// over a real Prosody. The trusted broadcaster's alerts reach the viewer, whose pages show every
// field as sent (markup as text); a stranger's alerts, and everything while broadcast alerts are
// off, are dropped.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "alerts/cap_alert_wnd.h"
#include "chat_peer.h"
#include "platform/gdi.h"
#include "program_fixture.h"
#include "ui/chat_wnd.h"

namespace e2e {
namespace {

const std::string kMarkup = "<b>bold</b> & \"quoted\" <A HREF='file:/etc/passwd'>x</A> &amp;";

Json SevereWeather() {
  return {{"identifier", "KSTO1055887203"},
          {"sender", "KSTO@NWS.NOAA.GOV"},
          {"sent", "2003-06-17T14:57:00-07:00"},
          {"status", "Actual"},
          {"msgType", "Alert"},
          {"scope", "Public"},
          {"info",
           {{"category", "Met"},
            {"event", "SEVERE THUNDERSTORM"},
            {"urgency", "Immediate"},
            {"certainty", "Likely"},
            {"eventCode", "SVR"},
            {"headline", "SEVERE THUNDERSTORM WARNING"},
            {"description", "At 2:54 PM a severe thunderstorm was located near Sonora."},
            {"instruction", "Move to an interior room."},
            {"contact", "BARUFFALDI/JUSKIE"},
            {"areas", {"NORTH CENTRAL TUOLUMNE COUNTY", "MONO COUNTY"}}}}};
}

Json Evacuation() {
  return {{"identifier", "EVAC-2026-001"},
          {"sender", "civil.defence@county.example"},
          {"sent", "2026-12-07T10:00:00Z"},
          {"status", "Actual"},
          {"msgType", "Alert"},
          {"scope", "Public"},
          {"info",
           {{"category", "Safety"},
            {"urgency", "Immediate"},
            {"certainty", "Observed"},
            {"headline", "Evacuate the river district"},
            {"description", "Flood water is rising."},
            {"instruction", "Leave by the north road."},
            {"areas", {"River district"}}}}};
}

// An update refers to the earlier alert and has an identifier of its own.
Json Update() {
  Json update = SevereWeather();
  update["identifier"] = "KSTO1055887204";
  update["msgType"] = "Update";
  update["info"]["headline"] = "SEVERE THUNDERSTORM WARNING EXTENDED";
  return update;
}

Json Markup() {
  Json alert;
  for (const char* name : {"identifier", "sender", "sent", "status", "msgType", "scope"}) {
    alert[name] = kMarkup;
  }
  Json info;
  for (const char* name : {"category", "urgency", "certainty", "eventCode", "headline",
                           "description", "instruction", "contact"}) {
    info[name] = kMarkup;
  }
  info["areas"] = {kMarkup};
  alert["info"] = info;
  return alert;
}

// Notes every popup the program asks for and hands it on to the notification manager.
class PopupRecorder : public INotifier {
 public:
  explicit PopupRecorder(MNotificationManager* popups) : popups_(popups) {}
  void PlayEventSound(EventSound) override {}
  void Vibrate(DWORD) override {}
  void ShowPopup(const wmstring& title, const wmstring& text) override {
    texts.push_back(wide_to_utf8(text).c_str());
    popups_->ShowNotification(title, text);
  }
  std::vector<std::string> texts;

 private:
  MNotificationManager* popups_;
};

class ProgramCapAlertsTest : public ProgramTest {
 protected:
  void StartWith(bool support) {
    server_->Stop();
    for (const char* user : {"alerts", "stranger"}) {
      server_->AddAccount("localhost", user, "pw");
    }
    ASSERT_TRUE(server_->Start());
    SetAccount(LocalServer(), "alice", "secret");
    SetDword(kSettingsKey, "LOGIN ON STARTUP", 1);
    SetDword(kSettingsKey, "TESSELCAST SUPPORT", support ? 1 : 0);
    SetText(kSettingsKey, "TRUSTED TESSELCAST JID", "alerts@localhost");
    StartProgram();
    ASSERT_TRUE(WaitForLog("Contact list received")) << Log();
    recorder_ = std::make_unique<PopupRecorder>(&routes().notifications());
    routes().dispatcher().SetNotifier(recorder_.get());
  }
  void TearDown() override {
    if (app_ != nullptr) {
      routes().dispatcher().SetNotifier(nullptr);
    }
    ProgramTest::TearDown();
  }

  // `user` sends the alerts; returns once the chat line that follows them has arrived.
  void Broadcast(const std::string& user, const Json& alerts) {
    std::string file = dir_ / (user + ".json");
    std::ofstream(file) << alerts.dump();
    ChildProcess peer;
    ASSERT_TRUE(peer.Start(
        {"/usr/bin/python3", SourceDir() + "/tests/peers/cap_broadcaster.py", user + "@localhost",
         "pw", "127.0.0.1", std::to_string(server_->c2s_port()), "alice@localhost", file},
        dir_.path(), dir_ / (user + ".out")));
    std::string sent = "sent " + std::to_string(alerts.size()) + " alerts";
    std::u16string line(utf8_to_wide(sent.c_str()).c_str());
    std::string jid = user + "@localhost";
    ASSERT_TRUE(RunUntil(
        [&] {
          ChatRecord* record = app_->chatWindow->FindChat(jid.c_str(), kChatOneToOne);
          return record != nullptr && record->History().find(line) != std::u16string::npos;
        },
        30))
        << ReadFile(dir_ / (user + ".out"));
  }

  MCapAlertWnd& viewer() { return *app_->capAlertWindow; }
  std::string Shown() {
    ProcessDisplayEvents();
    std::u16string text;
    for (const HtmlOp& op : viewer().LayoutOps()) {
      text += op.text;
    }
    return wide_to_utf8(wmstring(text.c_str())).c_str();
  }
  // Takes the link to `target` on the page shown.
  void Follow(const std::string& target) {
    for (const HtmlLink& link : viewer().Links()) {
      if (std::string(link.target.c_str()) == target) {
        viewer().OpenLink(link.target);
        return;
      }
    }
    ADD_FAILURE() << "no link to " << target << " on " << Shown();
  }
  void Screenshot(const std::string& name) {
    std::filesystem::create_directories(ORVIK_ARTIFACTS_DIR);
    SaveWindowToPng(app_->mainFrame->GetHwnd(),
                    (std::string(ORVIK_ARTIFACTS_DIR "/") + name).c_str());
  }

  TempDir dir_;
  std::unique_ptr<PopupRecorder> recorder_;
};

TEST_F(ProgramCapAlertsTest, TrustedAlertsShowOnThreeLinkedPages) {
  StartWith(true);
  Broadcast("alerts",
            Json::array({SevereWeather(), Evacuation(), Update(), SevereWeather(), Markup()}));
  // One popup request per new alert (the resend is not new), then the chat line's; a burst
  // from one broadcaster leaves one popup.
  EXPECT_EQ(recorder_->texts,
            (std::vector<std::string>{"CAP alert: SEVERE THUNDERSTORM WARNING",
                                      "CAP alert: Evacuate the river district",
                                      "CAP alert: SEVERE THUNDERSTORM WARNING EXTENDED",
                                      "CAP alert: " + kMarkup, "alerts says: sent 5 alerts"}));
  EXPECT_EQ(routes().notifications().Count(), 1u);
  EXPECT_NE(routes().notifications().FindByTitle(u"alerts@localhost"), 0u);

  SendMessage(app_->mainFrame->GetHwnd(), WM_COMMAND, 40207, 0);  // View > CAP Alerts
  EXPECT_TRUE(viewer().IsTopWindow());
  const std::string barA = "[Index][Close]";
  const std::string barB = "[Index][Msgs][Close]";
  EXPECT_EQ(Shown(),
            barA + "CAP Alerts" + kMarkup + "KSTO@NWS.NOAA.GOVcivil.defence@county.example" + barA);
  Screenshot("cap_alerts_index.png");

  Follow("KSTO@NWS.NOAA.GOV");  // the resent alert is not listed twice
  EXPECT_EQ(Shown(), barA + "Alerts from KSTO@NWS.NOAA.GOV:SEVERE THUNDERSTORM WARNING" +
                         "SEVERE THUNDERSTORM WARNING EXTENDED" + barA);
  Screenshot("cap_alerts_sender.png");

  Follow("KSTO1055887203");
  EXPECT_EQ(Shown(), barB + "ID:KSTO1055887203Contact:BARUFFALDI/JUSKIE" +
                         "Sent:2003-06-17T14:57:00-07:00Status:ActualType:AlertScope:Public" +
                         "Category:MetUrgency:ImmediateCertainty:LikelyEventcode:SVR" +
                         "Sender:KSTO@NWS.NOAA.GOV" +
                         "At 2:54 PM a severe thunderstorm was located near Sonora." +
                         "Affects:NORTH CENTRAL TUOLUMNE COUNTY; MONO COUNTY" +
                         "Instruction:Move to an interior room." + barB);
  Screenshot("cap_alerts_detail.png");

  Follow("senderindex");  // [Msgs]: back to the alerts of this sender
  EXPECT_EQ(viewer().currentPage(), "senderindex");
  Follow("index");
  Follow(kMarkup);  // the sender whose every field is markup
  Follow(kMarkup);
  std::string expected = barB;
  for (const char* label :
       {"ID:", "Contact:", "Sent:", "Status:", "Type:", "Scope:", "Category:", "Urgency:",
        "Certainty:", "Eventcode:", "Sender:", "", "Affects:", "Instruction:"}) {
    expected += label + kMarkup;
  }
  EXPECT_EQ(Shown(), expected + barB);
  Screenshot("cap_alerts_markup.png");
}

struct DroppedCase {
  const char* name;
  bool support;
  const char* user;
};

class ProgramCapAlertsDroppedTest : public ProgramCapAlertsTest,
                                    public ::testing::WithParamInterface<DroppedCase> {};

TEST_P(ProgramCapAlertsDroppedTest, NothingReachesTheViewer) {
  StartWith(GetParam().support);
  Broadcast(GetParam().user, Json::array({SevereWeather(), Evacuation()}));
  EXPECT_TRUE(viewer().store().senders().empty());
  EXPECT_EQ(recorder_->texts,
            (std::vector<std::string>{std::string(GetParam().user) + " says: sent 2 alerts"}));
  viewer().Show();
  EXPECT_EQ(Shown(), "[Index][Close]CAP AlertsNo alerts have been received.[Index][Close]");
}

INSTANTIATE_TEST_SUITE_P(Senders, ProgramCapAlertsDroppedTest,
                         ::testing::Values(DroppedCase{"Stranger", true, "stranger"},
                                           DroppedCase{"SupportOff", false, "alerts"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
