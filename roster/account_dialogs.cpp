#include "roster/account_dialogs.h"

#include <atomic>

namespace {
std::atomic<IAccountDialogs*> installed{nullptr};
}  // namespace

void SetAccountDialogs(IAccountDialogs* dialogs) {
  installed = dialogs;
}

IAccountDialogs* AccountDialogs() {
  return installed;
}
