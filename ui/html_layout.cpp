// Laying out the view's markup while Expat reports it: tags change the pen, the alignment, the
// colour and the font; text is cut into runs that fit the line, at a space where there is one;
// images and rules take their place. The result is a list of drawing operations and links in
// document coordinates (HtmlLayout).
#include <cmath>
#include <cstring>
#include <string>

#include "ui/emoticons.h"
#include "ui/html_entities.h"
#include "ui/html_wnd.h"
#include "xml/text_convert.h"

bool HtmlLayoutKey::operator==(const HtmlLayoutKey& other) const {
  return width == other.width && lineHeight == other.lineHeight &&
         std::memcmp(&font, &other.font, sizeof(LOGFONT)) == 0 && colours == other.colours;
}

namespace {

constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kPurple = 0xFF0064;
constexpr COLORREF kBlack = 0x000000;

bool NameIs(const char* name, const char* wanted) {
  return mstricmp(name, wanted) == 0;
}

const char* Attribute(const char** attributes, const char* wanted) {
  for (int i = 0; attributes != nullptr && attributes[i] != nullptr; i += 2) {
    if (NameIs(attributes[i], wanted)) {
      return attributes[i + 1];
    }
  }
  return nullptr;
}

}  // namespace

// One pass of Expat over a piece of markup, appending to the view's layout.
class HtmlLayoutRun {
 public:
  HtmlLayoutRun(MHtmlWnd& view, HtmlBlock& block, LONG width)
      : view_(view), block_(block), width_(width) {}

  bool Run(const mstring& markup) {
    XML_Parser parser = view_.parser_;
    XML_ParserReset(parser, nullptr);
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser, OnText);
    return XML_Parse(parser, markup.c_str(), static_cast<int>(markup.length()), 1) == XML_STATUS_OK;
  }

 private:
  static void OnStart(void* self, const char* name, const char** attributes) {
    static_cast<HtmlLayoutRun*>(self)->Start(name, attributes);
  }
  static void OnEnd(void* self, const char* name) { static_cast<HtmlLayoutRun*>(self)->End(name); }
  static void OnText(void* self, const char* text, int length) {
    static_cast<HtmlLayoutRun*>(self)->Text(text, length);
  }

  HtmlLayoutState& state() { return view_.state_; }
  LONG lineHeight() const { return view_.lineHeight_; }

  void NewLineWithExtra() {
    ++state().breaks;
    state().penY += lineHeight() + state().extra;
    state().penX = 0;
    state().extra = 0;
  }

  void ChangeFont(LONG weight, int underline) {
    LOGFONT font = view_.GetLogFont();
    if (weight >= 0) {
      font.lfWeight = weight;
    }
    if (underline >= 0) {
      font.lfUnderline = static_cast<BYTE>(underline);
    }
    view_.SetFontIndirect(view_.GetView(), font);
  }

  // Notes whether the block's first event is a line break (the root's start tag aside).
  void Began(bool lineBreak) {
    if (!begun_) {
      block_.leadingBreak = lineBreak;
      begun_ = true;
    }
  }

  void Start(const char* name, const char** attributes) {
    if (++depth_ > 1) {
      Began(NameIs(name, "BR") || NameIs(name, "P"));
    }
    if (NameIs(name, "CENTER")) {
      state().alignment = 0.5;
    } else if (NameIs(name, "BR") || NameIs(name, "P")) {
      NewLineWithExtra();
      block_.hasBreak = true;
    } else if (NameIs(name, "B")) {
      ChangeFont(FW_BOLD, -1);
    } else if (NameIs(name, "HR")) {
      HtmlOp rule;
      rule.kind = HtmlOp::Kind::Rule;
      rule.top = state().penY;
      rule.width = width_;
      rule.height = 4;
      rule.textStart = block_.textLength;
      block_.ops.push_back(rule);
      ++state().breaks;
      state().penY += lineHeight() + state().extra;
    } else if (NameIs(name, "A")) {
      state().colours.push_back(kBlue);
      ChangeFont(-1, 1);
      const char* target = Attribute(attributes, "HREF");
      if (target != nullptr) {
        state().linkTarget = target;
      }
    } else if (NameIs(name, "FONT")) {
      PushColour(Attribute(attributes, "COLOR"));
    } else if (NameIs(name, "IMG")) {
      const char* source = Attribute(attributes, "SRC");
      if (source != nullptr) {
        Image(source, Attribute(attributes, "ALT"));
      }
    }
  }

  // No colour, or an unknown one, pushes the colour already in force, so that the end tag's pop
  // restores the enclosing colour instead of an outer one.
  void PushColour(const char* colour) {
    std::vector<COLORREF>& colours = state().colours;
    if (colour == nullptr) {
      colours.push_back(colours.empty() ? kBlack : colours.back());
    } else if (NameIs(colour, "RED")) {
      colours.push_back(kRed);
    } else if (NameIs(colour, "BLUE")) {
      colours.push_back(kBlue);
    } else if (NameIs(colour, "PURPLE")) {
      colours.push_back(kPurple);
    } else if (NameIs(colour, "BLACK")) {
      colours.push_back(kBlack);
    } else {
      colours.push_back(colours.empty() ? kBlack : colours.back());
    }
  }

  void End(const char* name) {
    --depth_;
    if (NameIs(name, "CENTER")) {
      state().alignment = 0.0;
    } else if (NameIs(name, "B")) {
      ChangeFont(FW_NORMAL, -1);
    } else if (NameIs(name, "A")) {
      if (!state().colours.empty()) {
        state().colours.pop_back();
      }
      ChangeFont(-1, 0);
      state().linkTarget = "";
    } else if (NameIs(name, "FONT")) {
      if (!state().colours.empty()) {
        state().colours.pop_back();
      }
    }
  }

  LONG DrawingX() const {
    return view_.state_.penX + static_cast<LONG>(view_.state_.alignment * width_);
  }

  // A text or image operation takes its place in the laid-out text.
  void AddOp(HtmlOp op) {
    op.textStart = block_.textLength;
    op.breaks = state().breaks;
    state().breaks = 0;
    block_.textLength += op.text.size();
    block_.ops.push_back(std::move(op));
  }

  void Image(const char* source, const char* alt) {
    int id = LookupEmoticonImage(source);
    SIZE size{0, 0};
    if (id < 0 || !view_.ImageSize(id, &size)) {
      return;
    }
    LONG line = lineHeight();
    LONG lines = static_cast<LONG>(std::ceil(static_cast<double>(size.cy) / line));
    if (width_ < DrawingX() + size.cx) {
      state().penY += lines * line;
      state().penX = 0;
    }
    HtmlOp image;
    image.kind = HtmlOp::Kind::Image;
    image.x = DrawingX();
    image.top = state().penY;
    image.width = size.cx;
    image.height = size.cy;
    image.image = id;
    if (alt != nullptr) {
      image.text = utf8_to_wide(mstring(alt)).c_str();
    }
    AddOp(std::move(image));
    state().penX += size.cx;
    if (line < size.cy) {
      state().extra = (lines - 1) * line;
    }
  }

  void Text(const char* bytes, int length) {
    Began(false);
    // Copied first: mstring's counted constructor measures the whole rest of Expat's buffer.
    std::string piece(bytes, static_cast<std::size_t>(length));
    std::u16string text = DecodeEntitiesOnce(utf8_to_wide(mstring(piece.c_str())));
    std::uint32_t font = view_.FontIndex(view_.GetLogFont());
    // Each piece selects its font; nothing is restored, since the fonts a tag replaces are
    // released at once (SetFontIndirect).
    HDC dc = view_.memoryDc_;
    SelectObject(dc, view_.FontFor(font));
    COLORREF colour = state().colours.empty() ? kBlack : state().colours.back();
    std::size_t pos = 0;
    while (pos < text.size()) {
      pos += Step(dc, text, pos, font, colour);
    }
  }

  // How many characters of `rest` fit in `room` pixels, their extents in extents_. Only a
  // window of the text is shaped, about a line's worth, grown while nearly all of it fits, so
  // a long text costs a line's measuring per line and not the whole rest every time.
  int Fit(HDC dc, const WCHAR* rest, int restLength, LONG room) {
    constexpr int kMargin = 8;  // characters past the fit, so shaping across the cut is moot
    int window = std::min(restLength, static_cast<int>(std::max<LONG>(room, 64)));
    for (;;) {
      int fit = 0;
      extents_.resize(static_cast<std::size_t>(window));
      GetTextExtentExPoint(dc, rest, window, room, &fit, extents_.data(), nullptr);
      if (window == restLength || fit + kMargin < window) {
        return fit;
      }
      window = restLength - window <= window ? restLength : window * 2;
    }
  }

  // Lays out what fits of text[pos..] on the current line; returns the characters taken (0
  // when the pen only moved to the next line).
  std::size_t Step(HDC dc, const std::u16string& text, std::size_t pos, std::size_t font,
                   COLORREF colour) {
    const WCHAR* rest = text.data() + pos;
    int restLength = static_cast<int>(text.size() - pos);
    LONG left = state().penX;
    int fit = Fit(dc, rest, restLength, width_ - left);
    if (state().alignment > 0 && fit == restLength) {
      // Centred text wider than the rest of the line starts at the pen, not left of it; only
      // a rest that fits on the line is measured whole and moved.
      SIZE whole{0, 0};
      GetTextExtentPoint32(dc, rest, restLength, &whole);
      LONG offset = std::max<LONG>(
          0, static_cast<LONG>(state().alignment * (width_ - state().penX - whole.cx)));
      if (offset > 0) {
        left += offset;
        fit = Fit(dc, rest, restLength, width_ - left);
      }
    }
    if (fit == 0) {
      if (state().penX > 0) {
        state().penX = 0;
        state().penY += lineHeight();
        return 0;
      }
      fit = 1;  // narrower than one character: still take one per line, so the text ends
    }
    int run = fit;
    if (fit < restLength && rest[fit - 1] != u' ') {
      int space = fit - 1;
      while (space >= 0 && rest[space] != u' ') {
        --space;
      }
      if (space >= 0) {
        run = space + 1;
      } else if (state().penX > 0) {
        state().penX = 0;
        state().penY += lineHeight();
        return 0;
      }
    }
    // The prefix extents measured the run in one shaping with the text that follows it.
    SIZE extent{extents_[static_cast<std::size_t>(run - 1)], lineHeight()};
    GetTextExtentPoint32(dc, rest, 0, &extent);  // the font's height for the link record
    extent.cx = extents_[static_cast<std::size_t>(run - 1)];
    HtmlOp op;
    op.kind = HtmlOp::Kind::Text;
    op.x = left;
    op.top = state().penY;
    op.width = extent.cx;
    op.height = lineHeight();
    op.font = font;
    op.colour = colour;
    op.text.assign(rest, static_cast<std::size_t>(run));
    AddOp(std::move(op));
    if (!state().linkTarget.empty()) {
      block_.links.push_back(HtmlLink{left, state().penY, left + extent.cx,
                                      state().penY + extent.cy, state().linkTarget});
    }
    if (run == restLength && state().penX + extent.cx < width_) {
      state().penX += extent.cx;
    } else {
      state().penX = 0;
      state().penY += lineHeight();
    }
    return static_cast<std::size_t>(run);
  }

  MHtmlWnd& view_;
  HtmlBlock& block_;
  LONG width_;
  int depth_ = 0;
  bool begun_ = false;
  std::vector<int> extents_;
};

// Lays out one block's markup from the current state into `block`; false when the markup is
// malformed.
bool MHtmlWnd::LayOutBlock(const std::u16string& markup, HtmlBlock* block) {
  HtmlLayoutRun run(*this, *block, layout_.key.width);
  return run.Run(mstring("<TEXT>") + wide_to_utf8(markup.c_str()) + "</TEXT>");
}
