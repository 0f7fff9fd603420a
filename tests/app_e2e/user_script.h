// The user at the program's modal dialogs: each step waits until a dialog with its caption is
// open and then acts on it. A timer runs the steps, so they run inside the dialogs' own loops.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/message_queue.h"

namespace e2e {

class UserScript {
 public:
  using Action = std::function<void(HWND dialog)>;

  UserScript() { current() = this; }
  ~UserScript() {
    if (timer_ != 0) {
      KillTimer(nullptr, timer_);
    }
    current() = nullptr;
  }
  UserScript(const UserScript&) = delete;
  UserScript& operator=(const UserScript&) = delete;

  // At the dialog captioned `caption`, do `act`.
  UserScript& At(const char* caption, Action act) {
    steps_.push_back({caption, std::move(act)});
    if (timer_ == 0) {
      timer_ = SetTimer(nullptr, 0, 50, Tick);
    }
    return *this;
  }
  bool Done() const { return steps_.empty(); }

  static void Type(HWND dialog, int id, const std::u16string& text) {
    SetDlgItemTextW(dialog, id, text.c_str());
  }
  static void Press(HWND dialog, int id) {
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  }

 private:
  struct Step {
    std::string caption;
    Action act;
  };
  static UserScript*& current() {
    static UserScript* script = nullptr;
    return script;
  }
  static void Tick(HWND, UINT, UINT_PTR, DWORD) {
    UserScript* script = current();
    if (script == nullptr || script->steps_.empty()) {
      return;
    }
    HWND dialog = FindWindow("JDIALOG", script->steps_.front().caption.c_str());
    if (dialog == nullptr) {
      return;
    }
    Action act = std::move(script->steps_.front().act);
    script->steps_.pop_front();
    act(dialog);  // may open the next dialog, whose loop runs the next step
  }

  std::deque<Step> steps_;
  UINT_PTR timer_ = 0;
};

}  // namespace e2e
