// The HTML view on arbitrary bytes, in a real view on an offscreen display. The first byte picks
// the mode, the rest is split at NUL bytes into appends:
//  - received chat bodies (UTF-8) written as the dispatcher writes an incoming message (speaker
//    line, then the body through the chat formatting): formatted text must never break the
//    markup, so nothing is repaired, and without emoticons the view lays out exactly the text
//    received;
//  - arbitrary markup appended as it is (as the alert and headline pages and log lines are):
//    whatever the view repairs parses afterwards, so laying the repaired content out again in
//    an emptied view rewrites nothing.
// The first byte also picks the view's width (down to narrower than one character), emoticons
// (for markup: UTF-8 pages rather than narrow log lines), and whether the view paints after
// every append (one input in eight), once at the end (three in eight), or not at all, the
// content then only laid out (a paint is the slow part of a run).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/window.h"
#include "ui/chat_format.h"
#include "ui/html_wnd.h"
#include "ui/wnd_stack.h"
#include "xml/text_convert.h"

namespace {

constexpr std::size_t kMaxAppends = 64;

MWndStack* stack = nullptr;

class FuzzView final : public MHtmlWnd {
 public:
  explicit FuzzView(const LOGFONT& font)
      : MHtmlWnd(u"JFUZZHTML", nullptr, u"JFUZZHTML", stack, font) {}
  bool OpenLink(const mstring&) override { return true; }
};

LOGFONT Font() {
  LOGFONT font{};
  font.lfHeight = -12;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  return font;
}

struct Mode {
  bool markup;     // appends are markup, not chat bodies
  bool emoticons;  // chat bodies get emoticons
  bool paintEach;  // paint after every append (bits 2, 6 and 7 all set)
  bool paintEnd;   // paint once the content is appended (bit 7 set)
  int width;       // of the view's frame, pixels
};

Mode ModeOf(std::uint8_t byte) {
  static const int kWidths[] = {1, 8, 40, 120, 300, 800, 20, 200};
  return {(byte & 1) != 0, (byte & 2) != 0, (byte & 0xC4) == 0xC4, (byte & 0x80) != 0,
          kWidths[(byte >> 3) & 7]};
}

std::vector<std::string> Pieces(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < size && pieces.size() <= kMaxAppends; ++i) {
    if (data[i] == 0) {
      pieces.emplace_back();
    } else {
      pieces.back() += static_cast<char>(data[i]);
    }
  }
  return pieces;
}

// One view serves every input: a window per input would make each run allocate what Qt
// keeps (fonts, backing stores), and libFuzzer would scan the whole heap for leaks every time.
FuzzView* view = nullptr;

int viewWidth = 0;

// The view emptied and at the input's width, as a view that was just made. It is only moved
// when the width changes: a move re-creates the back bitmap and lays everything out again.
FuzzView& FreshView(int width) {
  view->Reset();
  view->ClearSelection();
  if (width != viewWidth) {
    MoveWindow(view->GetHwnd(), 0, 0, width, 120, TRUE);
    view->Relayout();
    viewWidth = width;
  }
  ProcessDisplayEvents();  // shown and exposed: from here a redraw paints at once
  return *view;
}

std::u16string Content(FuzzView& view) {
  wmstring content = view.GetContent();
  return std::u16string(content.c_str(), content.length());
}

std::u16string LaidOutText(FuzzView& view) {
  std::u16string text;
  for (const HtmlOp& op : view.LayoutOps()) {
    text += op.text;
  }
  return text;
}

bool IsHigh(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// What the view shows of received text: XML's line ends, and U+FFFD for what XML cannot carry
// and for half of a surrogate pair.
std::u16string Shown(const wmstring& body) {
  std::u16string shown;
  const char16_t* text = body.c_str();
  for (std::uint32_t i = 0; i < body.length(); ++i) {
    char16_t c = text[i];
    if (c == u'\r') {
      shown += u'\n';
      if (i + 1 < body.length() && text[i + 1] == u'\n') {
        ++i;
      }
    } else if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF) {
      shown += u'\uFFFD';
    } else if (IsHigh(c) && i + 1 < body.length() && IsLow(text[i + 1])) {
      shown += c;
      shown += text[++i];
    } else if (IsHigh(c) || IsLow(c)) {
      shown += u'\uFFFD';  // half a pair cannot be shown
    } else {
      shown += c;
    }
  }
  return shown;
}

// Says what differs, so that a finding explains itself.
[[noreturn]] void Fail(const char* what, const std::u16string& got, const std::u16string& wanted) {
  std::size_t at = 0;
  while (at < got.size() && at < wanted.size() && got[at] == wanted[at]) {
    ++at;
  }
  std::fprintf(
      stderr, "fuzz_html_view: %s\n got:    %s\n wanted: %s\n first difference at %zu: %04X %04X\n",
      what, wide_to_utf8(got.c_str()).c_str(), wide_to_utf8(wanted.c_str()).c_str(), at,
      at < got.size() ? unsigned{got[at]} : 0u, at < wanted.size() ? unsigned{wanted[at]} : 0u);
  std::abort();
}

void Append(FuzzView& view, const std::u16string& markup, std::u16string* written) {
  view.Append(markup.c_str());
  *written += markup;
}

// An incoming chat message as the dispatcher writes it.
void ReceiveChat(FuzzView& view, const Mode& mode, const std::string& body, std::u16string* written,
                 std::u16string* text) {
  wmstring wide = utf8_to_wide(mstring(body.c_str()));
  Append(view, u"<P>", written);
  Append(view, u"<FONT COLOR=\"BLACK\">peer says: </FONT><FONT COLOR=\"BLUE\">", written);
  wmstring formatted = FormatChatText(wide, mode.emoticons);
  Append(view, std::u16string(formatted.c_str(), formatted.length()), written);
  Append(view, u"</FONT></P>", written);
  *text += u"peer says: " + Shown(wide);
}

// The content appended, painted as the selector asks and then laid out whole (a paint lays out
// only what it shows; the rest would follow in slices).
void Settle(FuzzView& view, const Mode& mode) {
  if (mode.paintEnd) {
    view.Redraw();
  }
  view.FinishLayout();
}

void RunChat(FuzzView& view, const Mode& mode, const std::vector<std::string>& bodies) {
  std::u16string written;
  std::u16string text;
  for (const std::string& body : bodies) {
    ReceiveChat(view, mode, body, &written, &text);
    if (mode.paintEach) {
      view.Redraw();
    }
  }
  Settle(view, mode);
  if (Content(view) != written) {
    Fail("formatted text broke the markup", Content(view), written);
  }
  if (!mode.emoticons && LaidOutText(view) != text) {
    Fail("the view changed received text", LaidOutText(view), text);
  }
}

void RunMarkup(FuzzView& view, const Mode& mode, const std::vector<std::string>& appends) {
  for (const std::string& markup : appends) {
    if (mode.emoticons) {
      view.Append(utf8_to_wide(mstring(markup.c_str())).c_str());  // a page built wide
    } else {
      view.AppendNarrow(markup.c_str());  // a log line
    }
    if (mode.paintEach) {
      view.Redraw();
    }
  }
  Settle(view, mode);
  std::u16string repaired = Content(view);
  // Laid out again from nothing, the repaired content parses as it is.
  view.Reset();
  view.Append(repaired.c_str());
  view.FinishLayout();
  if (Content(view) != repaired) {
    Fail("the repaired markup still did not parse", Content(view), repaired);
  }
}

}  // namespace

// Fontconfig keeps the fonts it found for a fallback until the process ends; those are the
// system's caches, not leaks of ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!InitDisplay(nullptr, nullptr)) {
    std::abort();
  }
  stack = new MWndStack();
  view = new FuzzView(Font());
  view->Create(nullptr, 0, 0);
  // Painted once, so that the view knows its line height and a layout without a paint works.
  ProcessDisplayEvents();
  view->Redraw();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  Mode mode = ModeOf(data[0]);
  std::vector<std::string> pieces = Pieces(data + 1, size - 1);
  FuzzView& fresh = FreshView(mode.width);
  if (mode.markup) {
    RunMarkup(fresh, mode, pieces);
  } else {
    RunChat(fresh, mode, pieces);
  }
  return 0;
}
