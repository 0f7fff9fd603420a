// MHtmlWnd::OpenLink: a file is shown in the view itself, a URL goes to the browser.
#include <cstdio>

#include "platform/device_path.h"
#include "ui/html_wnd.h"

namespace {
MHtmlWnd::OpenUrlFunction openUrl = nullptr;
}  // namespace

void MHtmlWnd::SetOpenUrl(OpenUrlFunction open) {
  openUrl = open;
}

bool MHtmlWnd::OpenLink(const mstring& target) {
  // "https:" is a web address too, not a file name.
  if (target.find("http:") != mstring::npos || target.find("https:") != mstring::npos) {
    if (openUrl != nullptr) {
      openUrl(target);
    }
    return true;
  }
  lastFile_ = target;
  std::FILE* file = DeviceFopen(target.c_str(), "r");
  if (file == nullptr) {
    return false;
  }
  Reset();
  char line[4096];
  while (std::fgets(line, sizeof(line), file) != nullptr) {
    if (line[0] != '\0') {
      AppendNarrow(line);
    }
  }
  std::fclose(file);
  Redraw();
  return true;
}
