// A long history laid out lazily (the visible blocks first, the rest in posted slices) paints
// and, once finished, lays out exactly what a layout of the whole gives: after a switch to it,
// a resize, a font change, appends while it is being laid out, and when the reader goes to the
// top with Home or pages up. The reference is the same history grown one entry at a time, each
// laid out in order as it came.
#include <cstring>
#include <string>
#include <vector>

#include "tests/ui/html_test_view.h"
#include "tests/ui/ui_support.h"
#include "ui/html_blocks.h"
#include "ui/html_wnd.h"

namespace {

std::u16string Number(int i) {
  std::string digits = std::to_string(i);
  return std::u16string(digits.begin(), digits.end());
}

// What long conversations and the log hold: chat paragraphs with a link and an emoticon taller
// than a line, log lines ending in a break, inline pieces continuing a line, headings and rules.
std::u16string Entry(int i) {
  std::u16string n = Number(i);
  switch (i % 5) {
    case 3:
      return u"log line " + n + u" with a few more words<BR></BR>";
    case 4:
      return u"<B>" + n + u"</B> inline <CENTER>mid</CENTER><HR></HR>";
    default:
      return u"<P><FONT COLOR=\"BLACK\">bob says: </FONT><FONT COLOR=\"BLUE\">message " + n +
             u" see <A HREF='http://example.org/" + n + u"'>example.org/" + n +
             u"</A> today <IMG SRC=\"IDB_EMOTICON_HAPPY\"></IMG></FONT></P>";
  }
}

std::u16string History(int from, int to) {
  std::u16string all;
  for (int i = from; i < to; ++i) {
    all += Entry(i);
  }
  return all;
}

constexpr int kEntries = 400;

class HtmlLazyTest : public UiTest {
 protected:
  // Side by side, so that neither hides the other's paint.
  std::unique_ptr<TestView> Make(int width, int height, LOGFONT font = TestFont(), int left = 0) {
    auto view = std::make_unique<TestView>(&stack_, font);
    view->Create(nullptr, 0, 0);
    MoveWindow(view->GetHwnd(), left, 0, width, height, TRUE);
    view->Relayout();
    ProcessDisplayEvents();
    return view;
  }
  // The reference: every entry appended and laid out in order.
  std::unique_ptr<TestView> Grown(int width, int height, int entries, LOGFONT font = TestFont()) {
    auto view = Make(width, height, font, 400);
    for (int i = 0; i < entries; ++i) {
      view->Append(Entry(i).c_str());
      view->Redraw();
    }
    EXPECT_TRUE(view->LayoutComplete());
    return view;
  }
  // The lazy view: the whole history handed over at once, as a switch of conversation does.
  std::unique_ptr<TestView> Switched(int width, int height, int entries,
                                     LOGFONT font = TestFont()) {
    auto view = Make(width, height, font);
    view->Append(u"<P>a short one</P>");
    view->Redraw();
    view->Reset();
    view->Append(History(0, entries).c_str());
    view->Redraw();
    EXPECT_FALSE(view->LayoutComplete());  // only what shows was laid out
    return view;
  }
  static int Position(MHtmlWnd& view) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(view.GetView(), SB_VERT, &info);
    return info.nPos;
  }
  // Same operations at the same places with the same fonts and colours.
  // Where a run is in the whole text and the count of breaks before it only show in a copied
  // selection, and a selection finishes the layout first: a paint before that need not have
  // them.
  static void ExpectSameOps(const std::vector<HtmlOp>& got, const TestView& gotView,
                            const std::vector<HtmlOp>& want, const TestView& wantView,
                            bool breaks = false) {
    ASSERT_EQ(got.size(), want.size());
    ASSERT_FALSE(got.empty());
    for (std::size_t i = 0; i < got.size(); ++i) {
      const HtmlOp& a = got[i];
      const HtmlOp& b = want[i];
      ASSERT_TRUE(a.kind == b.kind && a.x == b.x && a.top == b.top && a.width == b.width &&
                  a.height == b.height && a.text == b.text && a.colour == b.colour &&
                  a.image == b.image &&
                  (!breaks || (a.breaks == b.breaks && a.textStart == b.textStart)))
          << "operation " << i << " at " << a.x << "," << a.top << " wants " << b.x << "," << b.top
          << "; text starts " << a.textStart << " " << b.textStart << "; breaks " << a.breaks << " "
          << b.breaks << "; " << std::string(a.text.begin(), a.text.end()) << " | "
          << std::string(b.text.begin(), b.text.end());
      ASSERT_EQ(std::memcmp(&gotView.LayoutFonts()[a.font], &wantView.LayoutFonts()[b.font],
                            sizeof(LOGFONT)),
                0)
          << "font of operation " << i;
    }
  }
  static void ExpectSameLayout(TestView& got, TestView& want) {
    ExpectSameOps(got.LayoutOps(), got, want.LayoutOps(), want, true);
    std::vector<HtmlLink> a = got.Links();
    std::vector<HtmlLink> b = want.Links();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
      EXPECT_TRUE(a[i].left == b[i].left && a[i].top == b[i].top && a[i].right == b[i].right &&
                  a[i].bottom == b[i].bottom && a[i].target == b[i].target)
          << "link " << i;
    }
    EXPECT_EQ(got.PenY(), want.PenY());
    EXPECT_EQ(got.PenX(), want.PenX());
  }
};

enum class Change { Switch, Resize, Font, AppendsWhileLazy };

TEST_F(HtmlLazyTest, FirstPaintAtTheBottomAndFinishedLayoutAreThoseOfTheWhole) {
  LOGFONT larger = TestFont(-15);
  for (Change change : {Change::Switch, Change::Resize, Change::Font, Change::AppendsWhileLazy}) {
    SCOPED_TRACE(static_cast<int>(change));
    std::unique_ptr<TestView> lazy;
    std::unique_ptr<TestView> whole;
    if (change == Change::Switch) {
      lazy = Switched(300, 200, kEntries);
      whole = Grown(300, 200, kEntries);
    } else if (change == Change::Resize || change == Change::Font) {
      // The reference first: making it pumps the display events, slices included.
      whole =
          change == Change::Resize ? Grown(220, 200, kEntries) : Grown(300, 200, kEntries, larger);
      lazy = Make(300, 200);
      lazy->Append(History(0, kEntries).c_str());
      lazy->Redraw();
      lazy->FinishLayout();
      if (change == Change::Resize) {
        MoveWindow(lazy->GetHwnd(), 0, 0, 220, 200, TRUE);  // narrower
        lazy->Relayout();
      } else {
        lazy->SetFontIndirect(lazy->GetView(), larger);
      }
      lazy->Redraw();
      EXPECT_FALSE(lazy->LayoutComplete());
    } else {
      lazy = Switched(300, 200, kEntries);
      for (int i = kEntries; i < kEntries + 5; ++i) {
        lazy->Append(Entry(i).c_str());
        lazy->Redraw();
      }
      EXPECT_FALSE(lazy->LayoutComplete());
      whole = Grown(300, 200, kEntries + 5);
    }
    // What the first paint drew is what the whole draws at the bottom.
    ExpectSameOps(lazy->PaintedOps(), *lazy, whole->PaintedOps(), *whole);
    lazy->FinishLayout();
    lazy->Redraw();
    EXPECT_EQ(Position(*lazy), Position(*whole));
    ExpectSameOps(lazy->PaintedOps(), *lazy, whole->PaintedOps(), *whole);
    ExpectSameLayout(*lazy, *whole);
  }
}

// The moves go straight to the views, so no slice runs in between.
TEST_F(HtmlLazyTest, HomeAndPageUpShowWhatTheWholeShows) {
  auto whole = Grown(300, 200, kEntries);
  for (std::vector<WORD> moves :
       {std::vector<WORD>{SB_TOP}, {SB_PAGEUP}, {SB_PAGEUP, SB_PAGEUP, SB_LINEUP, SB_PAGEUP}}) {
    auto lazy = Switched(300, 200, kEntries);
    SendMessage(whole->GetView(), WM_VSCROLL, SB_BOTTOM, 0);
    whole->Redraw();
    for (WORD move : moves) {
      SendMessage(lazy->GetView(), WM_VSCROLL, move, 0);
      SendMessage(whole->GetView(), WM_VSCROLL, move, 0);
      lazy->Redraw();
      whole->Redraw();
    }
    EXPECT_FALSE(lazy->LayoutComplete());
    ExpectSameOps(lazy->PaintedOps(), *lazy, whole->PaintedOps(), *whole);
    lazy->FinishLayout();
    lazy->Redraw();
    ExpectSameOps(lazy->PaintedOps(), *lazy, whole->PaintedOps(), *whole);
  }
}

TEST_F(HtmlLazyTest, PostedSlicesFinishTheLayoutAndKeepAScrolledViewOnItsRows) {
  auto whole = Grown(300, 200, kEntries);
  auto lazy = Switched(300, 200, kEntries);
  SendMessage(lazy->GetView(), WM_VSCROLL, SB_PAGEUP, 0);
  lazy->Redraw();
  ASSERT_FALSE(lazy->LayoutComplete());
  std::vector<HtmlOp> shown = lazy->PaintedOps();
  ASSERT_TRUE(RunUntil([&] { return lazy->LayoutComplete(); }));
  lazy->Redraw();
  ExpectSameOps(lazy->PaintedOps(), *lazy, shown, *lazy);
  SendMessage(whole->GetView(), WM_VSCROLL, SB_PAGEUP, 0);
  whole->Redraw();
  ExpectSameOps(lazy->PaintedOps(), *lazy, whole->PaintedOps(), *whole, true);
}

TEST_F(HtmlLazyTest, ALinkLaidOutLateIsHitAndASelectionSpansTheWhole) {
  auto lazy = Switched(300, 200, kEntries);
  SendMessage(lazy->GetView(), WM_VSCROLL, SB_TOP, 0);
  lazy->Redraw();
  // The first link, in a block the first paint (at the bottom) never laid out.
  const HtmlOp* link = nullptr;
  for (const HtmlOp& op : lazy->PaintedOps()) {
    if (op.text == u"example.org/0") {
      link = &op;
    }
  }
  ASSERT_NE(link, nullptr);
  SimulateClick(lazy->GetView(), link->x + 2, link->top + link->height / 2, FALSE, FALSE);
  EXPECT_EQ(lazy->opened, std::vector<std::string>{"http://example.org/0"});
  lazy->SelectAll();
  std::u16string all = lazy->SelectedText();
  EXPECT_EQ(all.rfind(u"bob says: message 0 see", 0), 0u);
  std::u16string last =
      u"message " + Number(kEntries - 3) + u" see example.org/" + Number(kEntries - 3) + u" today ";
  EXPECT_NE(all.find(last), std::u16string::npos);
}

TEST_F(HtmlLazyTest, ABadAppendWhileLazyShowsAsTextAndTheHistoryStays) {
  auto lazy = Switched(300, 200, kEntries);
  lazy->Append(u"x < y & z");
  lazy->Append(Entry(kEntries).c_str());
  lazy->Redraw();
  lazy->FinishLayout();
  std::u16string content(lazy->GetContent().c_str());
  EXPECT_EQ(content.rfind(History(0, kEntries), 0), 0u);
  std::u16string shown;
  for (const HtmlOp& op : lazy->LayoutOps()) {
    shown += op.text;
  }
  EXPECT_NE(shown.find(u"x < y & z"), std::u16string::npos);
  EXPECT_NE(shown.find(u"message " + Number(kEntries) + u" see"), std::u16string::npos);
}

// A view cleared while its slices are still queued (a conversation closed or switched during
// the layout): the queued slice must not lay out blocks of the content that is gone, and what
// is laid out afterwards is the new content, even before a paint.
TEST_F(HtmlLazyTest, ASliceQueuedBeforeAResetLeavesTheNewContentAlone) {
  auto lazy = Switched(300, 200, kEntries);
  lazy->Reset();
  lazy->Append(u"<P>after the reset</P>");
  ProcessDisplayEvents();  // the slice posted by the long history's paint
  std::u16string shown;
  for (const HtmlOp& op : lazy->LayoutOps()) {
    shown += op.text;
  }
  EXPECT_EQ(shown, u"after the reset");
}

TEST(HtmlBlocksTest, CutsAfterTopLevelEndTagsOnly) {
  struct Case {
    std::u16string markup;
    std::vector<std::uint32_t> ends;
    bool closed;
  };
  const std::vector<Case> cases = {
      {u"<P>a</P><BR/>b", {8, 13, 14}, false},
      {u"<B>x<I>y</I></B>", {16}, true},
      {u"<A HREF='a>b'>t</A>", {19}, true},
      {u"<![CDATA[</P>]]><P></P>", {23}, true},
      {u"<!-- </B> --><B></B>", {20}, true},
      {u"</B><B></B>", {11}, false},
      {u"<B>open", {7}, false},
      {u"", {}, false},
  };
  for (const Case& c : cases) {
    bool closed = !c.closed;
    EXPECT_EQ(SplitHtmlBlocks(c.markup, 0, &closed), c.ends)
        << std::string(c.markup.begin(), c.markup.end());
    EXPECT_EQ(closed, c.closed) << std::string(c.markup.begin(), c.markup.end());
  }
  EXPECT_TRUE(HasLineBreakTag(u"x<br/>", 0, 6));
  EXPECT_TRUE(HasLineBreakTag(u"<p>", 0, 3));
  EXPECT_FALSE(HasLineBreakTag(u"<B>x</B><PRE>", 0, 13));
}

}  // namespace
