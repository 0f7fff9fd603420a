// An HTML view for tests: it records the links it is asked to open instead of opening them,
// and leaves its window stack when it goes.
#pragma once

#include <string>
#include <vector>

#include "tests/ui/ui_support.h"
#include "ui/html_wnd.h"

class TestView : public MHtmlWnd {
 public:
  explicit TestView(MWndStack* stack, LOGFONT font = TestFont())
      : MHtmlWnd(u"JTESTHTML", nullptr, u"JTESTHTML", stack, font) {}
  ~TestView() {
    if (IsWindow(GetHwnd())) {
      DestroyWindow(GetHwnd());
    }
    GetStack()->Remove(this);
  }
  bool OpenLink(const mstring& target) override {
    opened.push_back(target.c_str());
    return true;
  }
  std::vector<std::string> opened;
};
