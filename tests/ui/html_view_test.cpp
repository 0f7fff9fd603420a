// The HTML view: layout of the tag set, word wrap, links, scrolling and auto-scroll, keys,
// malformed content, the layout kept between paints, and selection and copy.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "diag/debug_log.h"
#include "platform/clipboard.h"
#include "platform/controls.h"
#include "tests/support/temp_home.h"
#include "tests/ui/html_test_view.h"
#include "tests/ui/ui_support.h"
#include "ui/emoticons.h"
#include "ui/html_wnd.h"
#include "xml/text_convert.h"

namespace {

class HtmlViewTest : public UiTest {
 protected:
  // A view whose client area is `width` pixels wide (the scroll bar comes on top).
  TestView& Make(int width, int height = 200, LOGFONT font = TestFont()) {
    view_ = std::make_unique<TestView>(&stack_, font);
    view_->Create(nullptr, 0, 0);
    RECT outer{};
    GetClientRect(view_->GetHwnd(), &outer);
    RECT client{};
    GetClientRect(view_->GetView(), &client);
    int bar = outer.right - client.right;
    MoveWindow(view_->GetHwnd(), 0, 0, width + bar, height, TRUE);
    view_->Relayout();
    ProcessDisplayEvents();
    return *view_;
  }
  void Show(const WCHAR* markup) {
    view_->Append(markup);
    view_->Redraw();
  }
  std::vector<const HtmlOp*> Texts() {
    std::vector<const HtmlOp*> texts;
    for (const HtmlOp& op : view_->LayoutOps()) {
      if (op.kind == HtmlOp::Kind::Text) {
        texts.push_back(&op);
      }
    }
    return texts;
  }
  int ScrollPosition() {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(view_->GetView(), SB_VERT, &info);
    return info.nPos;
  }
  std::unique_ptr<TestView> view_;
};

TEST_F(HtmlViewTest, BoldIsWeight700AndTheTextAfterItIsNormalEvenFromALighterFont) {
  LOGFONT light = TestFont();
  light.lfWeight = 300;
  Make(300, 200, light);
  Show(u"<B>bold</B> plain");
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(view_->LayoutFonts()[texts[0]->font].lfWeight, FW_BOLD);
  EXPECT_EQ(view_->LayoutFonts()[texts[1]->font].lfWeight, FW_NORMAL);
  EXPECT_EQ(view_->GetLogFont().lfWeight, FW_NORMAL);
}

TEST_F(HtmlViewTest, ParagraphAndLineBreakGiveTheSameSpacing) {
  Make(300);
  Show(u"first<P></P>second");
  LONG afterParagraph = Texts().back()->top;
  view_->Reset();
  Show(u"first<BR></BR>second");
  EXPECT_EQ(Texts().back()->top, afterParagraph);
  EXPECT_EQ(afterParagraph, view_->LineHeight());
}

TEST_F(HtmlViewTest, TextContinuesOnTheSameLineAfterABoldElement) {
  Make(300);
  Show(u"word<B>bold</B>");
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1]->top, texts[0]->top);
  EXPECT_EQ(texts[1]->x, texts[0]->width);
}

TEST_F(HtmlViewTest, ALinkSplitOverTwoLinesGivesTwoRecordsWithOneTarget) {
  Make(120);
  Show(u"see <A HREF=\"http://example.org/\">a rather long link text here</A>");
  std::vector<HtmlLink> links = view_->Links();
  ASSERT_GE(links.size(), 2u);
  EXPECT_EQ(std::string(links[0].target.c_str()), "http://example.org/");
  EXPECT_EQ(std::string(links[1].target.c_str()), "http://example.org/");
  EXPECT_GT(links[1].top, links[0].top);
  // A tap inside the second part opens the target.
  SimulateClick(view_->GetView(), (links[1].left + links[1].right) / 2,
                (links[1].top + links[1].bottom) / 2, FALSE, FALSE);
  ASSERT_EQ(view_->opened.size(), 1u);
  EXPECT_EQ(view_->opened[0], "http://example.org/");
}

TEST_F(HtmlViewTest, AWordLongerThanALineIsCutWhereItStopsFitting) {
  Make(80);
  Show(u"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz");
  auto texts = Texts();
  ASSERT_GE(texts.size(), 2u);
  std::u16string joined;
  for (const HtmlOp* op : texts) {
    EXPECT_LE(op->width, 80);
    EXPECT_EQ(op->x, 0);
    joined += op->text;
  }
  EXPECT_EQ(joined, u"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz");
}

TEST_F(HtmlViewTest, WordsWrapAtSpacesAndAViewNarrowerThanACharacterStillEnds) {
  Make(90);
  Show(u"one two three four five");
  auto texts = Texts();
  ASSERT_GE(texts.size(), 2u);
  for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
    EXPECT_EQ(texts[i]->text.back(), u' ');  // cut after a space, never inside a word
  }
  view_->Reset();
  Make(2);
  Show(u"abc");
  EXPECT_EQ(Texts().size(), 3u);  // one character per line
}

TEST_F(HtmlViewTest, ALongTextWithoutBreaksIsLaidOutInReasonableTime) {
  // A peer's message may be one very long paragraph; the view measures a line's worth of it per
  // line, not everything that is left each time (which took minutes at this size).
  Make(300);
  std::u16string text;
  for (int i = 0; i < 40000; ++i) {
    text += u"word ";
  }
  auto start = std::chrono::steady_clock::now();
  Show(text.c_str());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  auto texts = Texts();
  ASSERT_GT(texts.size(), 1000u);
  std::u16string joined;
  LONG width = view_->LayoutWidth();
  EXPECT_EQ(width, 300 - 2 * MHtmlWnd::kMargin);
  for (const HtmlOp* op : texts) {
    EXPECT_LE(op->width, width);
    joined += op->text;
  }
  EXPECT_EQ(joined, text);
  // Every line but the last is full: the next word and its space would not have fitted on it.
  SIZE word{0, 0};
  HDC screen = GetDC(view_->GetView());
  HFONT font = CreateFontIndirect(&view_->LayoutFonts()[texts[0]->font]);
  SelectObject(screen, font);
  GetTextExtentPoint32(screen, u"word ", 5, &word);
  ReleaseDC(view_->GetView(), screen);
  DeleteObject(font);
  for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
    EXPECT_GE(texts[i]->width + word.cx, width) << i;
  }
}

TEST_F(HtmlViewTest, FontWithAnUnknownColourOrNoneKeepsTheEnclosingColour) {
  Make(300);
  for (const WCHAR* inner : {u"<FONT COLOR=\"GREEN\">", u"<FONT SIZE=\"2\">"}) {
    view_->Reset();
    Show((std::u16string(u"<FONT COLOR=\"RED\">a") + inner + u"b</FONT>c</FONT>d").c_str());
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0]->colour, 0x0000FFu);
    EXPECT_EQ(texts[1]->colour, 0x0000FFu);
    EXPECT_EQ(texts[2]->colour, 0x0000FFu);  // still red after the inner element ends
    EXPECT_EQ(texts[3]->colour, 0x000000u);
  }
}

// Text laid out ending in "]]" and an append beginning with ">": together they make "]]>",
// which XML does not allow in text, so the append shows as its text and the content parses.
TEST_F(HtmlViewTest, AnAppendMakingForbiddenTextWithTheTextBeforeItShowsAsText) {
  Make(600);
  Show(u"a ]]");
  view_->Append(u"> b");
  view_->Redraw();
  view_->FinishLayout();
  EXPECT_EQ(std::u16string(view_->GetContent().c_str()), u"a ]]&gt; b");
  std::u16string shown;
  for (const HtmlOp* op : Texts()) {
    shown += op->text;
  }
  EXPECT_EQ(shown, u"a ]]> b");
}

// One bad append among good ones: what was fine stays markup, the bad one shows as its text.
TEST_F(HtmlViewTest, ABadAppendShowsAsTextAndTheRestStaysMarkup) {
  TempHome home;
  MSettings settings;
  settings.debugMode = true;
  MAppMutexes mutexes{78};
  MDebugLog log{settings, mutexes};
  MHtmlWnd::SetDebugLog(&log);
  Make(600);
  const WCHAR* bad[] = {u"x < y &amp; z", u"<B>never closed", u"a &nbsp; b", u"</B>stray",
                        u"cut <FONT"};
  for (const WCHAR* text : bad) {
    view_->Reset();
    Show(u"<B>anna</B> says:<BR></BR>");  // laid out before the bad one came
    view_->Append(u"<FONT COLOR=\"RED\">red</FONT> ");
    view_->Append(text);
    view_->Append(u" <B>bob</B>");
    view_->Redraw();
    auto texts = Texts();
    std::u16string shown;
    for (const HtmlOp* op : texts) {
      shown += op->text;
    }
    EXPECT_EQ(shown, u"anna says:red " + std::u16string(text) + u" bob");
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(view_->LayoutFonts()[texts[0]->font].lfWeight, FW_BOLD);
    EXPECT_EQ(view_->LayoutFonts()[texts[1]->font].lfWeight, FW_NORMAL);
    EXPECT_EQ(texts[2]->colour, 0x0000FFu);
    EXPECT_EQ(texts.back()->text, u"bob");
    EXPECT_EQ(view_->LayoutFonts()[texts.back()->font].lfWeight, FW_BOLD);
    // The content keeps the good markup as it was.
    std::u16string content(view_->GetContent().c_str());
    EXPECT_EQ(content.rfind(u"<B>anna</B> says:<BR></BR><FONT COLOR=\"RED\">red</FONT> ", 0), 0u);
  }
  EXPECT_NE(
      home.Read("device/WINDOWS/debuglog.xml").find("HTML VIEW: malformed markup shown as text"),
      std::string::npos);
  MHtmlWnd::SetDebugLog(nullptr);
  // An element opened by one append and closed by a later one is fine.
  view_->Reset();
  for (const WCHAR* part : {u"<B>", u"split", u"</B>"}) {
    view_->Append(part);
  }
  view_->Redraw();
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(view_->LayoutFonts()[Texts()[0]->font].lfWeight, FW_BOLD);
}

TEST_F(HtmlViewTest, EmoticonImagesAndCentredHeadings) {
  Make(300);
  Show(
      u"<CENTER>mid</CENTER><BR></BR>hi <IMG SRC=\"IDB_EMOTICON_HAPPY\"></IMG>"
      u"<IMG SRC=\"IDB_EMOTICON_NONE\"></IMG>!");
  const std::vector<HtmlOp>& ops = view_->LayoutOps();
  ASSERT_EQ(ops.size(), 4u);
  EXPECT_GT(ops[0].x, 100);  // centred
  EXPECT_EQ(ops[2].kind, HtmlOp::Kind::Image);
  EXPECT_EQ(ops[2].image, 139);
  EXPECT_EQ(ops[3].x, ops[2].x + ops[2].width);  // the unknown image took no room
}

TEST_F(HtmlViewTest, AutoScrollOnlyWhenAtTheBottomAndKeys) {
  Make(300, 120);
  Show(u"line<BR></BR>");
  EXPECT_EQ(ScrollPosition(), 0);  // shorter than the view: no scrolling
  for (int i = 0; i < 30; ++i) {
    Show(u"another line<BR></BR>");
  }
  int bottom = ScrollPosition();
  EXPECT_GT(bottom, 0);
  SendMessage(view_->GetView(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(ScrollPosition(), 0);
  Show(u"more<BR></BR>");
  EXPECT_EQ(ScrollPosition(), 0);  // scrolled up: stays where the user is
  SendMessage(view_->GetView(), WM_VSCROLL, SB_BOTTOM, 0);
  Show(u"more<BR></BR>");
  EXPECT_GT(ScrollPosition(), bottom);  // at the bottom again: follows the end
  int before = ScrollPosition();
  wmstring content = view_->GetContent();
  SimulateKey(view_->GetView(), VK_RETURN, u'\r');
  EXPECT_EQ(ScrollPosition(), before);
  EXPECT_TRUE(view_->GetContent() == content);
  SimulateKey(view_->GetView(), VK_UP, 0);
  EXPECT_LT(ScrollPosition(), before);
}

TEST_F(HtmlViewTest, ScrollBarShowsOnlyWhileTheContentIsTallerThanTheView) {
  Make(300, 120);
  EXPECT_FALSE(IsScrollBarVisible(view_->GetView(), SB_VERT));
  for (int i = 0; i < 30 && !IsScrollBarVisible(view_->GetView(), SB_VERT); ++i) {
    Show(u"line<BR></BR>");
    LONG fits = (120 - 2 * MHtmlWnd::kMargin) / view_->LineHeight();
    // Shown exactly when the lines no longer fit between the margins.
    EXPECT_EQ(IsScrollBarVisible(view_->GetView(), SB_VERT) != FALSE, i + 1 > fits) << i;
  }
  EXPECT_TRUE(IsScrollBarVisible(view_->GetView(), SB_VERT));
  view_->Reset();
  view_->Redraw();
  EXPECT_FALSE(IsScrollBarVisible(view_->GetView(), SB_VERT));
  EXPECT_EQ(ScrollPosition(), 0);
}

TEST_F(HtmlViewTest, ReadingKeysScrollByLinePageAndToTheEnds) {
  Make(300, 120);
  for (int i = 0; i < 40; ++i) {
    Show(u"line<BR></BR>");
  }
  HWND view = view_->GetView();
  SendMessage(view, WM_VSCROLL, SB_TOP, 0);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(view, SB_VERT, &info);
  int page = static_cast<int>(info.nPage);
  int last = info.nMax - page + 1;
  ASSERT_GT(page, 1);
  struct Step {
    const WCHAR* keys;
    int position;
  };
  for (Step step : {Step{u"PgDown", page}, Step{u"Down", page + 1}, Step{u"Up", page},
                    Step{u"End", last}, Step{u"PgUp", last - page}, Step{u"Home", 0}}) {
    SimulateKeys(view, step.keys);
    EXPECT_EQ(ScrollPosition(), step.position) << std::string(step.keys, step.keys + 2);
  }
  // Keys of the window's other parts (a chat's input line): End stays theirs, PgDn scrolls.
  SendMessage(view_->GetHwnd(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(ScrollPosition(), 0);
  SendMessage(view_->GetHwnd(), WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(ScrollPosition(), page);
}

TEST_F(HtmlViewTest, TextKeepsAMarginAndTapsStillHitTheLinks) {
  Make(300);
  Show(u"<A HREF=\"http://example.org/\">link</A> after");
  ASSERT_FALSE(view_->Links().empty());
  HtmlLink link = view_->Links()[0];
  EXPECT_EQ(link.left, MHtmlWnd::kMargin);
  EXPECT_EQ(link.top, MHtmlWnd::kMargin);
  LONG middle = (link.top + link.bottom) / 2;
  SimulateClick(view_->GetView(), 1, middle, FALSE, FALSE);  // in the margin, left of it
  EXPECT_TRUE(view_->opened.empty());
  SimulateClick(view_->GetView(), MHtmlWnd::kMargin + 1, middle, FALSE, FALSE);
  EXPECT_EQ(view_->opened, std::vector<std::string>{"http://example.org/"});
}

// Selection: press, drag and release with the left button, in view client coordinates.
class HtmlSelectionTest : public HtmlViewTest {
 protected:
  void Drag(POINT from, POINT to) {
    HWND view = view_->GetView();
    SendMessage(view, WM_LBUTTONDOWN, 1, MAKELPARAM(from.x, from.y));
    SendMessage(view, WM_MOUSEMOVE, 1, MAKELPARAM(to.x, to.y));
    SendMessage(view, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  }
  // The point in the view after the first `chars` characters of a text operation.
  POINT After(const HtmlOp& op, int chars) {
    HDC screen = GetDC(view_->GetView());
    HFONT font = CreateFontIndirect(&view_->LayoutFonts()[op.font]);
    SelectObject(screen, font);
    SIZE size{0, 0};
    GetTextExtentPoint32(screen, op.text.c_str(), chars, &size);
    ReleaseDC(view_->GetView(), screen);
    DeleteObject(font);
    return POINT{MHtmlWnd::kMargin + op.x + size.cx, MHtmlWnd::kMargin + op.top + op.height / 2};
  }
  const HtmlOp& TextOp(const std::u16string& text) {
    for (const HtmlOp* op : Texts()) {
      if (op->text == text) {
        return *op;
      }
    }
    ADD_FAILURE() << "no run " << std::string(text.begin(), text.end());
    return *Texts().front();
  }
};

TEST_F(HtmlSelectionTest, DragSelectsAcrossLinesAndCopiesTheTextWithEmoticonsAsText) {
  Make(400, 200);
  wmstring greeting = ReplaceEmoticons(u"well :-) fine");
  Show((u"<B>anna</B> says:<BR></BR>" + std::u16string(greeting.c_str()) +
        u"<BR></BR><BR></BR>third line")
           .c_str());
  SetClipboardText(u"before");
  // From inside "well" (after "we") to inside "third" (after "thi").
  Drag(After(TextOp(u"well "), 2), After(TextOp(u"third line"), 3));
  const std::u16string expected = u"ll :-) fine\n\nthi";
  EXPECT_EQ(view_->SelectedText(), expected);
  SimulateKeys(view_->GetView(), u"Ctrl+C");
  EXPECT_EQ(GetClipboardText(), expected);
  EXPECT_TRUE(SaveWindowToPng(view_->GetHwnd(), ArtifactPath("html_selection.png").c_str()));

  // Appends, repaints and a layout at another width keep the selection; a Reset clears it.
  Show(u"<BR></BR>more");
  EXPECT_EQ(view_->SelectedText(), expected);
  SendMessage(view_->GetView(), WM_COMMAND, MHtmlWnd::kSelectAllCommand, 0);
  SendMessage(view_->GetView(), WM_COMMAND, MHtmlWnd::kCopyCommand, 0);
  const std::u16string all = u"anna says:\nwell :-) fine\n\nthird line\nmore";
  EXPECT_EQ(GetClipboardText(), all);
  MoveWindow(view_->GetHwnd(), 0, 0, 120, 200, TRUE);
  view_->Redraw();
  EXPECT_EQ(view_->SelectedText(), all);
  view_->Reset();
  view_->Redraw();
  EXPECT_EQ(view_->SelectedText(), u"");
  EXPECT_FALSE(view_->CopySelection());
}

TEST_F(HtmlSelectionTest, AClickOpensALinkAndADragFromItSelectsInstead) {
  Make(300);
  Show(u"see <A HREF=\"http://example.org/\">the link</A> now");
  HtmlLink link = view_->Links()[0];
  POINT on{link.left + 2, (link.top + link.bottom) / 2};
  Drag(on, POINT{on.x + 40, on.y});
  EXPECT_TRUE(view_->opened.empty());
  EXPECT_FALSE(view_->SelectedText().empty());
  // A hand that shakes a little still clicks, and the click drops the selection.
  Drag(on, POINT{on.x + MHtmlWnd::kDragSlop, on.y});
  EXPECT_EQ(view_->opened, std::vector<std::string>{"http://example.org/"});
  EXPECT_EQ(view_->SelectedText(), u"");
}

// Content that grows by appends is laid out from where the last layout ended; the result is
// the layout of the whole.
TEST_F(HtmlViewTest, GrowingContentLaysOutAsTheWhole) {
  Make(150);
  const WCHAR* lines[] = {u"<B>anna</B> says:<BR></BR>",
                          u"hello <A HREF=\"x.txt\">there</A><BR></BR>",
                          u"<FONT COLOR=\"PURPLE\">a longer line that has to wrap</FONT><BR></BR>",
                          u"<CENTER>centre</CENTER><HR></HR>"};
  for (const WCHAR* line : lines) {
    Show(line);
  }
  std::vector<HtmlOp> grown = view_->LayoutOps();
  std::vector<HtmlLink> grownLinks = view_->Links();
  wmstring all = view_->GetContent();
  view_->Reset();
  Show(all.c_str());
  const std::vector<HtmlOp>& whole = view_->LayoutOps();
  ASSERT_EQ(whole.size(), grown.size());
  for (std::size_t i = 0; i < whole.size(); ++i) {
    EXPECT_EQ(whole[i].x, grown[i].x);
    EXPECT_EQ(whole[i].top, grown[i].top);
    EXPECT_EQ(whole[i].text, grown[i].text);
    EXPECT_EQ(whole[i].colour, grown[i].colour);
  }
  EXPECT_EQ(view_->Links().size(), grownLinks.size());
}

TEST_F(HtmlViewTest, ScreenshotOfFormattedContent) {
  Make(320, 240);
  Show(
      u"<CENTER><B>orvik Messenger</B></CENTER><BR></BR><HR></HR>"
      u"<B>anna says:</B><BR></BR>Hello <FONT COLOR=\"RED\">red</FONT>, "
      u"<FONT COLOR=\"BLUE\">blue</FONT> and <FONT COLOR=\"PURPLE\">purple</FONT> "
      u"<IMG SRC=\"IDB_EMOTICON_HAPPY\"></IMG> <IMG SRC=\"IDB_EMOTICON_COOL\"></IMG>"
      u"<BR></BR>Read <A HREF=\"http://example.org/\">the news page</A> "
      u"<IMG SRC=\"IDB_EMOTICON_LOVE\"></IMG><IMG SRC=\"IDB_EMOTICON_STAR\"></IMG>"
      u"<IMG SRC=\"IDB_EMOTICON_COFFEE\"></IMG><BR></BR>"
      u"A long line that wraps at the spaces between its words, as chat lines do.");
  EXPECT_TRUE(SaveWindowToPng(view_->GetHwnd(), ArtifactPath("html_view.png").c_str()));
}

TEST_F(HtmlViewTest, ScreenshotOfEveryEmoticon) {
  Make(200, 120);
  wmstring all;
  for (const EmoticonImage* image = kEmoticonImages; image->name != nullptr; ++image) {
    all += wmstring(u"<IMG SRC=\"") + utf8_to_wide(image->name) + u"\"></IMG> ";
  }
  Show(all.c_str());
  int images = 0;
  for (const HtmlOp& op : view_->LayoutOps()) {
    images += op.kind == HtmlOp::Kind::Image ? 1 : 0;
  }
  EXPECT_EQ(images, 63);  // every name in the table has its picture
  EXPECT_TRUE(SaveWindowToPng(view_->GetHwnd(), ArtifactPath("emoticons.png").c_str()));
}

}  // namespace

namespace {

class OpenFileView : public MHtmlWnd {
 public:
  explicit OpenFileView(MWndStack* stack)
      : MHtmlWnd(u"JFILEHTML", nullptr, u"JFILEHTML", stack, TestFont()) {}
  ~OpenFileView() {
    DestroyWindow(GetHwnd());
    GetStack()->Remove(this);
  }
};

class HtmlFileTest : public UiTest {};

TEST_F(HtmlFileTest, OpenLinkShowsAFileAndKeepsTheContentWhenItIsMissing) {
  std::string folder = ArtifactPath("open-link");
  std::filesystem::create_directories(folder);
  std::string page = folder + "/page.txt";
  FILE* file = std::fopen(page.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("<B>first</B><BR></BR>\nsecond line\n", file);
  std::fclose(file);
  OpenFileView view(&stack_);
  view.Create(nullptr, 0, 0);
  view.Append(u"before");
  EXPECT_FALSE(view.OpenLink((folder + "/missing.txt").c_str()));
  EXPECT_TRUE(view.GetContent() == wmstring(u"before"));
  EXPECT_TRUE(view.OpenLink(page.c_str()));
  EXPECT_EQ(std::string(view.LastFilePath().c_str()), page);
  EXPECT_TRUE(view.GetContent() == wmstring(u"<B>first</B><BR></BR>\nsecond line\n"));
}

TEST_F(HtmlFileTest, EntitiesAreDecodedOnceMoreWithinOnePieceOfText) {
  OpenFileView view(&stack_);
  view.Create(nullptr, 0, 0);
  MoveWindow(view.GetHwnd(), 0, 0, 300, 100, TRUE);
  view.Relayout();
  ProcessDisplayEvents();
  // Expat hands over an entity reference as a piece of its own, so text escaped twice shows
  // its inner escapes and breaks nothing; inside one piece (a CDATA section) the second
  // decoding applies.
  view.Append(u"a &amp;lt;b&amp;gt; <![CDATA[x &lt; y]]>");
  view.Redraw();
  std::u16string shown;
  for (const HtmlOp& op : view.LayoutOps()) {
    shown += op.text;
  }
  EXPECT_EQ(shown, u"a &lt;b&gt; x < y");
  EXPECT_FALSE(view.GetContent().empty());
}

TEST_F(HtmlFileTest, PostShowFromAnotherThreadShowsTheWindowOnTheUiThread) {
  OpenFileView frame(&stack_);
  frame.Create(nullptr, 0, 0);
  OpenFileView other(&stack_);
  other.Create(&frame, 0, 0);
  SetFrameLink(frame.GetHwnd(), nullptr);
  // The frame stand-in answers WM_MWND_SHOW as the main frame does.
  EXPECT_EQ(stack_.Top(), &frame);
  std::thread worker([&other] { MWnd::PostShow(&other); });
  worker.join();
  MSG message;
  ASSERT_TRUE(RunUntil([&] {
    if (PeekMessage(&message, frame.GetHwnd(), WM_MWND_SHOW, WM_MWND_SHOW, PM_REMOVE)) {
      reinterpret_cast<MWnd*>(message.lParam)->Show();
    }
    return stack_.Top() == &other;
  }));
  SetFrameLink(nullptr, nullptr);
  EXPECT_FALSE(MWnd::PostShow(&other));  // no frame: nothing is posted anywhere
}

}  // namespace
