// The quick-phrase chooser driven through its dialog from the chat window's menu command:
// composing from the lists, the punctuation buttons, Clear, OK, and which file is read.
#include "ui/phrase_chooser.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/ui/chat_wnd_support.h"
#include "tests/ui/roster_wnd_support.h"

namespace {

const char* kPhrases =
    "<phrases>"
    "<RididEdazov phraseid='1'><phrasetext>.</phrasetext></RididEdazov>"
    "<RididEdazov phraseid='2'><phrasetext>?</phrasetext></RididEdazov>"
    "<RididEdazov phraseid='3'><phrasetext>!</phrasetext></RididEdazov>"
    "<RididEdazov phraseid='4'><phrasetext> ;-)</phrasetext></RididEdazov>"
    "<RididEdazov phraseid='hi' root=''><phrasetext>Hi</phrasetext>"
    "<rphraseids>there gone all</rphraseids></RididEdazov>"
    "<RididEdazov phraseid='there'><phrasetext>there</phrasetext></RididEdazov>"
    "<RididEdazov phraseid='bye' root='no'><phrasetext>Bye</phrasetext>"
    "<rphraseids>all</rphraseids></RididEdazov>"
    "<RididEdazov phraseid='all'><phrasetext>all</phrasetext></RididEdazov>"
    "</phrases>";
const char* kProgramFile = "device/phr/RididEdazov.xml";
const char* kFallbackFile = "device/WINDOWS/RididEdazov.xml";

using Texts = std::vector<std::u16string>;

Texts Items(HWND dialog) {
  Texts items;
  LRESULT count = SendDlgItemMessage(dialog, IDC_PHRASE_LIST, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    WCHAR text[256] = {};
    SendDlgItemMessage(dialog, IDC_PHRASE_LIST, LB_GETTEXT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

// The user taps entry `index` of the list.
void Pick(HWND dialog, int index) {
  SendDlgItemMessage(dialog, IDC_PHRASE_LIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDC_PHRASE_LIST, LBN_SELCHANGE),
              reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PHRASE_LIST)));
}

std::u16string Composed(HWND dialog) {
  return TextOf(dialog, IDC_PHRASE_EDIT);
}

class PhraseChooserTest : public ChatWndTest {
 protected:
  void SetUp() override {
    ChatWndTest::SetUp();
    settings_.programFolder = "\\phr\\";
    Open(kChatOneToOne, "bob@x");
    timer_ = SetTimer(nullptr, 0, 30, PlayStep);
  }
  void TearDown() override {
    KillTimer(nullptr, timer_);
    Steps().clear();
    SetMessageBoxAutoAnswer(0);
    ChatWndTest::TearDown();
  }
  // Runs the menu command with the user's steps at the dialog; true when every step ran.
  bool Choose(std::function<void(HWND)> act) {
    Steps().assign({DialogStep{"RididEdazov", std::move(act)}});
    chat_.WindowProc(chat_.GetHwnd(), WM_COMMAND, MAKEWPARAM(kQuickPhraseCommand, 0), 0);
    return Steps().empty();
  }
  UINT_PTR timer_ = 0;
};

TEST_F(PhraseChooserTest, ChoicesFollowThePhrasesAndOkAppendsToTheInput) {
  home_.Write(kProgramFile, kPhrases);
  Type(u"Well ");
  ASSERT_TRUE(Choose([](HWND dialog) {
    EXPECT_EQ(Items(dialog), (Texts{u"Hi", u"Bye"}));
    EXPECT_EQ(SendDlgItemMessage(dialog, IDC_PHRASE_LIST, LB_GETCURSEL, 0, 0), 0);
    HWND list = GetDlgItem(dialog, IDC_PHRASE_LIST);
    SimulateClick(list, 20, 6, FALSE, FALSE);  // the preselected entry is chosen by a click
    EXPECT_EQ(Composed(dialog), u"Hi");
    EXPECT_EQ(Items(dialog), (Texts{u"there", u"all"}));  // "gone" names no phrase
    SimulateClick(list, 20, 6, FALSE, FALSE);
    EXPECT_EQ(Composed(dialog), u"Hi there");
    EXPECT_EQ(Items(dialog), Texts{});
    const std::pair<int, const char16_t*> kButtons[] = {{IDC_PHRASE_PERIOD, u"Hi there."},
                                                        {IDC_PHRASE_QUESTION, u"Hi there.?"},
                                                        {IDC_PHRASE_EXCLAIM, u"Hi there.?!"},
                                                        {IDC_PHRASE_BLANK, u"Hi there.?! ;-)"}};
    for (const auto& [button, expected] : kButtons) {
      Press(dialog, button);
      EXPECT_EQ(Composed(dialog), expected) << button;
    }
    Press(dialog, IDOK);
  }));
  EXPECT_EQ(InputText(), u"Well Hi there.?! ;-)");
  EXPECT_EQ(LOWORD(SendMessage(Input(), EM_GETSEL, 0, 0)), 20);
}

TEST_F(PhraseChooserTest, ClearAsksFirstAndOnlyOkEndsTheDialog) {
  home_.Write(kProgramFile, kPhrases);
  Type(u"kept");
  ASSERT_TRUE(Choose([](HWND dialog) {
    Pick(dialog, 1);
    EXPECT_EQ(Items(dialog), Texts{u"all"});
    SetMessageBoxAutoAnswer(IDNO);
    Press(dialog, IDC_PHRASE_CLEAR);
    EXPECT_EQ(Composed(dialog), u"Bye");
    WCHAR text[64];
    WCHAR caption[64];
    UINT type = 0;
    LastMessageBox(text, 64, caption, 64, &type);
    EXPECT_EQ(std::u16string(text), u"Clear Phrase?");
    EXPECT_EQ(std::u16string(caption), u"RuzadAzoder(id)");
    EXPECT_EQ(type & 0xFF, MB_YESNO | MB_ICONQUESTION);
    SetMessageBoxAutoAnswer(IDYES);
    Press(dialog, IDC_PHRASE_CLEAR);
    EXPECT_EQ(Composed(dialog), u"");
    EXPECT_EQ(Items(dialog), (Texts{u"Hi", u"Bye"}));
    Press(dialog, IDCANCEL);
    EXPECT_EQ(FindWindow("JDIALOG", "RididEdazov"), dialog);
    Press(dialog, IDOK);
  }));
  EXPECT_EQ(InputText(), u"kept");  // nothing composed: nothing added
}

std::string ShippedFile() {
  std::ifstream in(std::string(ORVIK_SOURCE_DIR) + "/resources/RididEdazov.xml");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Which file the list comes from: the program folder's, else the fallback, which a fresh
// profile gets from the shipped default; a fallback that is there is never replaced.
TEST_F(PhraseChooserTest, TheProgramFolderFileThenTheFallbackThenTheShippedDefault) {
  struct Case {
    const char* program;   // null: no file
    const char* fallback;  // null: no file
    Texts roots;
  };
  const Case kCases[] = {
      {kPhrases,
       "<p><RididEdazov root='' phraseid='x'><phrasetext>X</phrasetext></RididEdazov></p>",
       {u"Hi", u"Bye"}},
      {nullptr,
       "<p><RididEdazov root='' phraseid='x'><phrasetext>X</phrasetext></RididEdazov></p>",
       {u"X"}},
      {"<p><broken></p>", "<p>", {}},
  };
  for (const Case& c : kCases) {
    std::filesystem::remove_all(home_.path() + "/device");
    if (c.program != nullptr) {
      home_.Write(kProgramFile, c.program);
    }
    if (c.fallback != nullptr) {
      home_.Write(kFallbackFile, c.fallback);
    }
    ASSERT_TRUE(Choose([&](HWND dialog) {
      EXPECT_EQ(Items(dialog), c.roots);
      Press(dialog, IDOK);
    }));
    EXPECT_EQ(home_.Read(kFallbackFile), c.fallback ? c.fallback : "");
  }
  // A fresh profile: the shipped phrases are written where the program looks and are shown.
  std::filesystem::remove_all(home_.path() + "/device");
  ASSERT_TRUE(Choose([](HWND dialog) {
    Texts roots = Items(dialog);
    EXPECT_GE(roots.size(), 10u);
    EXPECT_EQ(roots.front(), u"Hi");
    Pick(dialog, 0);
    EXPECT_FALSE(Items(dialog).empty());
    EXPECT_TRUE(SaveWindowToPng(dialog, ArtifactPath("quick_phrases.png").c_str()));
    Press(dialog, IDOK);
  }));
  EXPECT_EQ(home_.Read(kFallbackFile), ShippedFile());
}

TEST_F(PhraseChooserTest, WithoutPhrasesTheUserCanStillTypeAndConfirm) {
  home_.Write(kProgramFile, "not xml");
  home_.Write(kFallbackFile, "");
  ASSERT_TRUE(Choose([](HWND dialog) {
    EXPECT_EQ(Items(dialog), Texts{});
    SetDlgItemTextW(dialog, IDC_PHRASE_EDIT, u"typed \u00e9 \U0001F600");
    Press(dialog, IDOK);
  }));
  EXPECT_EQ(InputText(), u"typed \u00e9 \U0001F600");
}

}  // namespace
