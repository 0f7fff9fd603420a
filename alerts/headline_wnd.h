// MHeadlineWnd ("JHEADLINEWND"): the headlines viewer. It keeps the news headlines the
// program receives and shows them in its HTML view as linked pages: the index of sources, and
// the headlines of one source. A headline's web link opens in the browser; the pages are
// rebuilt whenever one is opened.
#pragma once

#include "alerts/headline.h"
#include "alerts/headline_store.h"
#include "ui/html_wnd.h"

constexpr const WCHAR* kHeadlineWindowName = u"JHEADLINEWND";

class MHeadlineWnd : public MHtmlWnd {
 public:
  MHeadlineWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont);

  // Keeps the headline. A new source shows at once when the index is the page shown; a
  // headline of a known source appears when its page is next opened. Always true.
  bool AddHeadline(Headline headline);

  // The index comes first again when the window is next shown.
  void SendToBack() override;
  // Brings the window forward and rebuilds the page shown.
  void Show() override;
  // Empties the view, back at its top.
  void Reset() override;
  // A web address goes to the browser (the page stays); "close" sends the window back; any
  // other target is a page: "index" or a source's page name.
  bool OpenLink(const mstring& target) override;

  const mstring& CurrentPage() const { return currentPage_; }
  const MHeadlineStore& Store() const { return store_; }

 private:
  void BuildPage();

  MHeadlineStore store_;
  mstring currentPage_;
};
