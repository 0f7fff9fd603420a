#include "alerts/cap_alert_wnd.h"

#include <utility>

MCapAlertWnd::MCapAlertWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont)
    : MHtmlWnd(kCapAlertWindowName, instance, kCapAlertWindowName, stack, logFont) {}

bool MCapAlertWnd::AddAlert(CapAlert alert) {
  switch (store_.Add(std::move(alert))) {
    case MCapAlertStore::AddResult::kDuplicate:
      return false;
    case MCapAlertStore::AddResult::kNewSender:
      if (currentPage_ == "index") {
        IndexPage();
      }
      return true;
    case MCapAlertStore::AddResult::kAppended:
    default:
      return true;
  }
}

void MCapAlertWnd::SendToBack() {
  currentPage_ = "index";
  MHtmlWnd::SendToBack();
}

void MCapAlertWnd::Show() {
  MHtmlWnd::Show();
  OpenLink(currentPage_);
}

void MCapAlertWnd::Reset() {
  MHtmlWnd::Reset();
  scrollX_ = 0;
  scrollY_ = 0;
  if (GetView() != nullptr) {
    // A new page is read from its top, wherever the last one was scrolled to.
    SCROLLINFO top{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    SetScrollInfo(GetView(), SB_VERT, &top, TRUE);
  }
  if (hwnd_ != nullptr) {
    SetWindowTextW(hwnd_, u"");
  }
}

LRESULT MCapAlertWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return MHtmlWnd::WindowProc(hwnd, message, wParam, lParam);
}

bool MCapAlertWnd::OpenLink(const mstring& target) {
  if (target == "index") {
    IndexPage();
  } else if (target == "senderindex") {
    SenderPage();
  } else if (target == "close") {
    SendToBack();
  } else if (currentPage_ == "index" && store_.Find(target) != nullptr) {
    // A sender's link on the index page: that sender's alerts.
    currentSender_ = target;
    SenderPage();
  } else {
    DetailPage(target);
  }
  return true;
}
