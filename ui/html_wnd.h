// MHtmlWnd: the scrolling rich-text view of the chat, conference, log, alert and headline
// windows. Its content is markup in a small tag set (P, BR, B, CENTER, HR, A HREF, FONT COLOR,
// IMG SRC), well-formed XML without a root. At every paint the content is parsed with Expat
// and laid out in document coordinates, then drawn shifted by the scroll position; links are
// remembered as rectangles and a tap on one opens it.
//
// The content is cut into top-level blocks (html_blocks.h), each laid out on its own and kept
// between paints. A paint lays out only the blocks it shows (a view at the bottom: the newest)
// and estimates the heights of the others; the rest is laid out in slices posted to the UI
// thread, top to bottom, and the scroll bar settles as it goes. Blocks shown before those above
// them were laid out are laid out from the state a top-level boundary has, and laid out again
// when the real one differs, so the finished layout is exactly the one a parse of the whole
// gives (html_lazy.cpp).
//
// Dragging with the left button selects text; Ctrl+C or the context menu's "Copy" puts it on
// the clipboard, Ctrl+A or "Select All" selects everything. A click that does not drag opens
// the link under it. Markup that does not parse is shown as its text (html_repair.h).
#pragma once

#include <expat.h>

#include <chrono>
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
  // The links of the whole layout in view client coordinates at the scroll offset of the last
  // paint, in drawing order. Finishes the layout first.
  std::vector<HtmlLink> Links() const;
  LONG PenX() const { return state_.penX; }
  LONG PenY() const { return state_.penY; }
  LONG LineHeight() const { return lineHeight_; }
  const mstring& LastFilePath() const { return lastFile_; }
  // The drawn text runs of the whole layout (document coordinates), for tests. Finishes the
  // layout first.
  const std::vector<HtmlOp>& LayoutOps() const;
  const std::vector<LOGFONT>& LayoutFonts() const { return layout_.fonts; }
  // What the last paint drew, in view client coordinates (text starts in the whole text).
  const std::vector<HtmlOp>& PaintedOps() const { return painted_; }
  // Lays out what is left of the content now (what the posted slices would do over time).
  void FinishLayout();
  // The bytes the content and its layout hold, their spare room included (memory figures).
  std::size_t HeldBytes() const;
  // Every block of the content is laid out.
  bool LayoutComplete() const;
  // Posted to the view to lay out the next slice of the content.
  static constexpr UINT kLayoutSliceMessage = WM_USER + 0x3B1;

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
  void Render(bool atBottom, LONG oldHeight);
  void DrawVisible(LONG scrollOffset, LONG clientHeight);
  void DrawOp(const HtmlOp& op, std::size_t textBase, LONG left, LONG top, LONG right);
  LRESULT OnVScroll(WPARAM wParam);
  // Lines of the view's height between the margins, and of the content (a last line that
  // holds text without a break counts).
  LONG VisibleLines();
  LONG ContentLines() const;
  // The scroll range and page for the content and the view's height as they are now.
  void UpdateScrollRange(SCROLLINFO* info);
  void HitTest(LONG x, LONG y);
  HFONT FontFor(std::size_t index);
  // The index of `font` in the layout's fonts, added when it is new.
  std::uint32_t FontIndex(const LOGFONT& font);
  bool ImageSize(int id, SIZE* size);
  HBITMAP Image(int id);
  // Lays out one block's markup from the current state; false for malformed markup.
  bool LayOutBlock(const std::u16string& markup, HtmlBlock* block);
  // Brings the blocks up to the content and the layout's key (nothing is laid out here).
  void SyncBlocks();
  void ForgetLayout();
  // Blocks (html_lazy.cpp). Each returns false when a block's markup does not parse.
  bool MeasureBlock(std::size_t index, bool inOrder);
  bool MeasureAhead(std::size_t index);
  bool AdvanceExact();
  bool MeasureRange(LONG top, LONG bottom, bool* changed);
  bool PlaceView(bool atBottom, LONG oldHeight, const HtmlAnchor& anchor);
  HtmlAnchor AnchorAt(LONG offset);
  LONG AnchorOffset(const HtmlAnchor& anchor);
  void PrepareMove(LONG lines);
  void ContinueLayout();
  bool LayOutSlice(std::chrono::steady_clock::time_point deadline);
  void Place();
  LONG Estimate(const HtmlBlock& block) const;
  void ReEstimate();
  std::size_t BlockAt(LONG y);
  LONG TotalHeight();
  void UpdateEndState();
  bool CanGuess() const;
  void Flatten();
  // What to do when a block does not parse: show the bad appends as text and start over.
  void OnMalformed();
  // Rewrites the content appended since the last good layout (up to `length`) so that the
  // appends that broke the markup show as text; false when nothing needed it.
  bool ShowMalformedAsText(std::uint32_t length);

  // Selection (html_selection.cpp).
  std::size_t TextOffsetAt(LONG x, LONG y);
  std::vector<HtmlOp> OpsAround(LONG docY, bool* first, bool* last);
  std::size_t CharOffsetIn(const HtmlOp& op, LONG x);
  LONG CharX(const HtmlOp& op, std::size_t chars);
  void OnButtonDown(LONG x, LONG y);
  void OnMouseMove(LONG x, LONG y);
  void OnButtonUp(LONG x, LONG y);
  void ShowContextMenu(LONG screenX, LONG screenY);
  bool OnSelectionKey(WPARAM key);
  void DrawSelection(const HtmlOp& op, std::size_t textBase, LONG left, LONG top);

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
  bool slicePosted_ = false;
  std::vector<HtmlOp> painted_;
  // A block did not parse though the appends do together: the content is one block.
  bool wholeAsOneBlock_ = false;
  std::uint32_t goodLength_ = 0;
  bool resetSinceLayout_ = false;
  // The selection runs between the anchor (where the drag began) and the caret.
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
  bool pressed_ = false;
  bool dragged_ = false;
  POINT pressPoint_{0, 0};
};
