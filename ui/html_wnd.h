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
//
// Dragging with the left button selects text; Ctrl+C or the context menu's "Copy" puts it on
// the clipboard, Ctrl+A or "Select All" selects everything. A click that does not drag opens
// the link under it. Markup that does not parse is shown as its text (html_repair.h).
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

class MDebugLog;

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
  // Where the views note markup they had to show as text; set by app/ (null: nowhere).
  static void SetDebugLog(MDebugLog* log);

  // The selection, in characters of the laid-out text (every run's text and every image's
  // ALT text in document order). It survives repaints and appends; Reset clears it.
  std::u16string SelectedText() const;
  void SelectAll();
  void ClearSelection();
  // Puts the selected text on the clipboard; false when nothing is selected.
  bool CopySelection();
  // The context menu's commands, sent to the view as WM_COMMAND.
  static constexpr UINT kCopyCommand = 0xE122;
  static constexpr UINT kSelectAllCommand = 0xE12A;
  // How far (pixels) the mouse may move with the button down and still make a click.
  static constexpr LONG kDragSlop = 3;

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
  // Lays out what the content needs (*length: the content's length then); false when its
  // markup does not parse.
  bool LayOutContent(std::uint32_t* length);
  // Lays out `part` (the content from layout_.contentLength on) and keeps the result.
  bool Extend(const std::u16string& part, std::uint32_t contentLength);
  void ForgetLayout();
  // Rewrites the content appended since the last good layout (up to `length`) so that the
  // appends that broke the markup show as text.
  void ShowMalformedAsText(std::uint32_t length);

  // Selection (html_selection.cpp).
  std::size_t TextOffsetAt(LONG x, LONG y);
  std::size_t CharOffsetIn(const HtmlOp& op, LONG x);
  LONG CharX(const HtmlOp& op, std::size_t chars);
  void OnButtonDown(LONG x, LONG y);
  void OnMouseMove(LONG x, LONG y);
  void OnButtonUp(LONG x, LONG y);
  void ShowContextMenu(LONG screenX, LONG screenY);
  bool OnSelectionKey(WPARAM key);
  void DrawSelection(const HtmlOp& op, LONG left, LONG top);

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
  // Under the content lock: where each append since the last good layout began, the content
  // laid out by it, and a Reset the selection has not heard of yet.
  std::vector<std::uint32_t> appendStarts_;
  std::uint32_t goodLength_ = 0;
  bool resetSinceLayout_ = false;
  // The selection runs between the anchor (where the drag began) and the caret.
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
  bool pressed_ = false;
  bool dragged_ = false;
  POINT pressPoint_{0, 0};
};
