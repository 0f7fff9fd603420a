// MHtmlWnd: content whose markup does not parse keeps what was fine; the appends that broke it
// are shown as their text and a line goes to the debug log.
#include <algorithm>

#include "diag/debug_log.h"
#include "ui/html_repair.h"
#include "ui/html_wnd.h"

namespace {
MDebugLog* debugLog = nullptr;
}  // namespace

void MHtmlWnd::SetDebugLog(MDebugLog* log) {
  debugLog = log;
}

bool MHtmlWnd::ShowMalformedAsText(std::uint32_t length) {
  EnterCriticalSection(&contentLock_);
  length = std::min(length, static_cast<std::uint32_t>(content_.size()));
  std::uint32_t from = std::min(goodLength_, length);
  // Text may end in "]]" and be fine, while an append that begins with ">" then makes "]]>",
  // which XML does not allow in text: the brackets are looked at again with the appends.
  for (int i = 0; i < 2 && from > 0 && content_[from - 1] == u']'; ++i) {
    --from;
  }
  std::vector<std::size_t> starts{0};
  for (std::uint32_t start : appendStarts_) {
    if (start > from && start < length) {
      starts.push_back(start - from);
    }
  }
  bool changed = false;
  std::u16string shown =
      ::ShowMalformedAsText(content_.substr(from, length - from), starts, &changed);
  content_.replace(from, length - from, shown);
  // Appends that came after the failed layout keep their place after the rewritten text.
  auto grown = static_cast<std::int64_t>(shown.size()) - static_cast<std::int64_t>(length - from);
  std::vector<std::uint32_t> later;
  for (std::uint32_t start : appendStarts_) {
    if (start >= length) {
      later.push_back(static_cast<std::uint32_t>(start + grown));
    }
  }
  appendStarts_ = std::move(later);
  contentRewritten_ = contentRewritten_ || changed;
  LeaveCriticalSection(&contentLock_);
  if (changed && debugLog != nullptr) {
    debugLog->Write("HTML VIEW: malformed markup shown as text");
  }
  return changed;
}
