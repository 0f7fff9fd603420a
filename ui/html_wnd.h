// MHtmlWnd: the scrolling rich-text view of the chat, conference, log, alert and headline
// windows. Its content is markup in a small tag set (P, BR, B, CENTER, HR, A HREF, FONT COLOR,
// IMG SRC), well-formed XML without a root. At every paint the content is parsed with Expat
// and laid out in document coordinates, then drawn shifted by the scroll position; links are
// remembered as rectangles and a tap on one opens it.
//
// The layout of unchanged content is kept between paints, and content that only grew since
// the last paint is laid out from where the previous layout ended, so a paint costs what is
// new plus what is visible, not the whole history. Both give exactly the layout a parse of the
// whole content gives (see html_layout.cpp for when the shortcut applies).
#pragma once

#include <expat.h>

#include <map>
#include <string>
#include <vector>

#include "platform/critical_section.h"
#include "ui/html_layout.h"
#include "ui/wnd.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

class MHtmlWnd : public MWnd {
 public:
  MHtmlWnd(const WCHAR* name, HINSTANCE instance, const WCHAR* className, MWndStack* stack,
           const LOGFONT& logFont);
  ~MHtmlWnd();

  void BringToFront() override;
  void Reset() override;
  void Relayout() override;
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetFont(HWND control, const char* faceName, int size) override;
  void SetFontIndirect(HWND control, const LOGFONT& logFont) override;
  void OnActivate(WORD state) override;
  virtual void Redraw();
  // Opens a file (shown in this view) or a URL (in the browser); true when handled.
  virtual bool OpenLink(const mstring& target);

  HWND Create(MWnd* parentWnd, int iconId, int menuBarId);
  // From any thread.
  void Append(const WCHAR* text);
  void AppendNarrow(const char* text);

  // The blank border between the view's edges and what it draws, in pixels.
  static constexpr LONG kMargin = 5;

  HWND GetView() const { return view_; }
  wmstring GetContent();
  // The width text is laid out in: the view's client width less the margins.
  LONG LayoutWidth();
  // The links of the last paint in view client coordinates, in drawing order.
  std::vector<HtmlLink> Links() const;
  LONG PenX() const { return state_.penX; }
  LONG PenY() const { return state_.penY; }
  LONG LineHeight() const { return lineHeight_; }
  const mstring& LastFilePath() const { return lastFile_; }
  // The drawn text runs of the last layout (document coordinates), for tests.
  const std::vector<HtmlOp>& LayoutOps() const { return layout_.ops; }
  const std::vector<LOGFONT>& LayoutFonts() const { return layout_.fonts; }

  // The application's open-URL operation (starts the configured browser); set by app/.
  using OpenUrlFunction = bool (*)(const mstring& url);
  static void SetOpenUrl(OpenUrlFunction open);

 private:
  friend class HtmlLayoutRun;
  void Paint();
  // Lays out the content (or what is new) and draws it at the current scroll position.
  void Render();
  void DrawVisible(LONG scrollOffset, LONG clientHeight);
  LRESULT OnVScroll(WPARAM wParam);
  // Lines of the view's height between the margins, and of the content (a last line that
  // holds text without a break counts).
  LONG VisibleLines();
  LONG ContentLines() const;
  // The scroll range and page for the content and the view's height as they are now.
  void UpdateScrollRange(SCROLLINFO* info);
  void HitTest(LONG x, LONG y);
  HFONT FontFor(std::size_t index);
  bool ImageSize(int id, SIZE* size);
  HBITMAP Image(int id);
  // Lays out `part` of the content from the current state; false for malformed markup.
  bool LayOut(const std::u16string& part, bool* resumable);
  // Lays out `part` (the content from layout_.contentLength on) and keeps the result.
  void Extend(const std::u16string& part, std::uint32_t contentLength);
  void ForgetLayout();

  HDC memoryDc_ = nullptr;
  HtmlLayoutState state_;  // pen, alignment, extra height, link target, colour stack
  LONG lineHeight_ = 0;
  HWND view_ = nullptr;
  mstring lastFile_;
  std::u16string content_;  // grows by appends; a string that keeps its length and spare room
  HtmlLayout layout_;       // the laid-out content, kept between paints
  LONG linkOffset_ = 0;     // the scroll offset (pixels) of the last paint
  HBITMAP backBitmap_ = nullptr;
  bool viewResized_ = false;
  XML_Parser parser_;
  CRITICAL_SECTION contentLock_;
  bool contentRewritten_ = true;    // content changed other than by appending since the layout
  std::vector<HFONT> fontHandles_;  // one per entry of layout_.fonts
  std::map<int, HBITMAP> images_;
};
