// MCapAlertWnd ("JCAPALERTWND"): the emergency alerts the program received, shown as three
// linked pages in its HTML view: the index of senders, the alerts of one sender and one alert
// in detail. Every value of an alert comes from the network: it is escaped before it enters a
// page, so markup in an alert shows as text and never breaks the page.
//
// Link targets: "index", "senderindex", "close"; on the index page a sender's own text (its
// link leads to that sender's alerts); anywhere else an alert identifier.
#pragma once

#include "alerts/cap_alert.h"
#include "alerts/cap_alert_store.h"
#include "ui/html_wnd.h"

constexpr const WCHAR* kCapAlertWindowName = u"JCAPALERTWND";

class MCapAlertWnd : public MHtmlWnd {
 public:
  MCapAlertWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont);

  // Keeps the alert; false when its sender already holds one with the same identifier (the
  // alert is dropped). A new sender rebuilds the index page when that page is shown.
  bool AddAlert(CapAlert alert);

  void SendToBack() override;
  void Show() override;
  void Reset() override;
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OpenLink(const mstring& target) override;

  const mstring& currentPage() const { return currentPage_; }
  const mstring& currentSender() const { return currentSender_; }
  const MCapAlertStore& store() const { return store_; }

 private:
  // The pages (cap_alert_pages.cpp).
  void IndexPage();
  void SenderPage();
  void DetailPage(const mstring& identifier);
  void AppendField(const char* label, const mstring& value);
  void AppendText(const mstring& text);
  void AppendAttribute(const mstring& text);

  MCapAlertStore store_;
  mstring currentPage_ = "index";
  mstring currentSender_;
  int scrollX_ = 0;
  int scrollY_ = 0;
};
