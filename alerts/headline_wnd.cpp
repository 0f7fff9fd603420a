#include "alerts/headline_wnd.h"

#include <utility>

#include "alerts/headline_pages.h"

MHeadlineWnd::MHeadlineWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont)
    : MHtmlWnd(kHeadlineWindowName, instance, kHeadlineWindowName, stack, logFont),
      currentPage_(kHeadlineIndexPage) {}

bool MHeadlineWnd::AddHeadline(Headline headline) {
  bool sourcesChanged = store_.Add(std::move(headline));
  if (sourcesChanged && currentPage_ == kHeadlineIndexPage && hwnd_ != nullptr) {
    OpenLink(kHeadlineIndexPage);
  }
  return true;
}

void MHeadlineWnd::SendToBack() {
  currentPage_ = kHeadlineIndexPage;
  MHtmlWnd::SendToBack();
}

void MHeadlineWnd::Show() {
  MHtmlWnd::Show();
  OpenLink(currentPage_);
}

void MHeadlineWnd::Reset() {
  MHtmlWnd::Reset();
  if (GetView() != nullptr) {
    SCROLLINFO top{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    SetScrollInfo(GetView(), SB_VERT, &top, TRUE);
  }
  if (hwnd_ != nullptr) {
    SetWindowTextW(hwnd_, u"");
  }
}

bool MHeadlineWnd::OpenLink(const mstring& target) {
  if (IsWebAddress(target)) {
    return MHtmlWnd::OpenLink(target);  // the browser; the page does not change
  }
  if (target == kHeadlineClosePage) {
    SendToBack();
    return true;
  }
  currentPage_ = target;
  BuildPage();
  return true;
}

void MHeadlineWnd::BuildPage() {
  Reset();
  if (currentPage_ == kHeadlineIndexPage) {
    Append(HeadlineIndexPage(store_).c_str());
  } else {
    // A page name that names no kept source (one dropped since) shows an empty page.
    MHeadlineStore::Source none;
    const MHeadlineStore::Source* shown = &none;
    for (const auto& [name, source] : store_.Sources()) {
      if (HeadlinePageName(name) == currentPage_) {
        shown = &source;
        break;
      }
    }
    Append(HeadlineSourcePage(*shown).c_str());
  }
  Redraw();
}
