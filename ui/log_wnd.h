// MLogWnd: the log window, an HTML view ("JLOGWND") where connection progress and errors are
// appended as formatted lines. It starts with the program's banner.
#pragma once

#include "ui/html_wnd.h"

constexpr const WCHAR* kLogWindowName = u"JLOGWND";

class MLogWnd : public MHtmlWnd {
 public:
  MLogWnd(HINSTANCE instance, MWndStack* stack, const LOGFONT& logFont);

  // Clears the content, appends the banner and redraws.
  void Reset() override;

  static const WCHAR* Banner();
};
