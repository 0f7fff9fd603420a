// The roster window in a test: a temporary profile with real settings and accounts, a real
// roster model that has the window as its view, a main frame stand-in with a menu bar that
// records the commands handed to it, recorded application operations, and a script that plays
// the user at the modal dialogs.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/runtime/app_mutexes.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "roster/gateway_service.h"
#include "roster/xmpp_account.h"
#include "tests/support/temp_home.h"
#include "tests/ui/ui_support.h"
#include "ui/account_dialogs.h"
#include "ui/jwnd.h"
#include "ui/roster_wnd.h"
#include "xml/text_convert.h"

class RecordingActions : public IRosterActions {
 public:
  void AddContact(const mstring& jid, const wmstring& nickname, const wmstring& group) override {
    Note("Add", jid, nickname, group);
  }
  void RenameContact(const mstring& jid, const wmstring& nickname, const wmstring& group) override {
    Note("Rename", jid, nickname, group);
  }
  void RemoveContact(const mstring& jid, const wmstring& nickname, const wmstring& group) override {
    Note("Remove", jid, nickname, group);
  }
  bool CanChat() override { return canChat; }
  void OpenChat(const mstring& jid, const mstring& resource) override {
    log.push_back(std::string("Chat ") + jid.c_str() + "/" + resource.c_str());
  }
  void ShowActiveChats() override { log.push_back("ActiveChats"); }
  void DialContact(const RosterItem& contact) override {
    log.push_back(std::string("Dial ") + contact.jid.c_str());
  }

  bool canChat = false;
  std::vector<std::string> log;

 private:
  void Note(const char* what, const mstring& jid, const wmstring& nickname, const wmstring& group) {
    log.push_back(std::string(what) + " " + jid.c_str() + " | " + wide_to_utf8(nickname).c_str() +
                  " | " + wide_to_utf8(group).c_str());
  }
};

// The main frame: a top-level window with a menu bar holding "Only Online Contacts".
class TestFrame : public MJWnd {
 public:
  explicit TestFrame(MWndStack* stack)
      : MJWnd(u"JTESTFRAME", nullptr, u"JTESTFRAME", stack, TestFont()) {}
  LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && hwnd == GetHwnd()) {
      commands.push_back(LOWORD(wParam));
      return 0;
    }
    return MJWnd::WindowProc(hwnd, message, wParam, lParam);
  }
  std::vector<UINT> commands;
};

// One step of the user at a dialog: it runs when a dialog with that caption is open.
struct DialogStep {
  const char* caption;
  std::function<void(HWND dialog)> act;
};

inline std::deque<DialogStep>& Steps() {
  static std::deque<DialogStep> steps;
  return steps;
}

inline void PlayStep(HWND, UINT, UINT_PTR, DWORD) {
  if (Steps().empty()) {
    return;
  }
  // The innermost dialog of that caption: the one created last.
  HWND dialog = FindWindow("JDIALOG", Steps().front().caption);
  if (dialog == nullptr) {
    return;
  }
  DialogStep step = Steps().front();
  Steps().pop_front();
  step.act(dialog);
}

inline std::u16string TextOf(HWND dialog, int id) {
  WCHAR text[300] = {};
  GetDlgItemTextW(dialog, id, text, 300);
  return text;
}

inline void Press(HWND dialog, int id) {
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

class RosterWndTest : public UiTest {
 protected:
  void SetUp() override {
    InstallAccountDialogs();
    SetMessageBoxAutoAnswer(IDOK);
    jabber_ = new MJabberService;
    jabber_->SetServer(u"example.org:5222");
    jabber_->Save();
    settings_.AddServiceAccount(jabber_);
    settings_.AddServiceAccount(new MMSNService);
    frame_.Create(nullptr, 0, 0);
    MoveWindow(frame_.GetHwnd(), 0, 0, 360, 520, TRUE);
    HMENU menu = CreateMenu();
    HMENU contacts = CreatePopupMenu();
    AppendMenuW(contacts, MF_STRING, kOnlyOnlineCommand, u"Only Online Contacts");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(contacts), u"Contacts");
    bar_ = CreateMenuBar(frame_.GetHwnd(), menu);
    SetFrameLink(frame_.GetHwnd(), bar_);
    wnd_.Create(&frame_);
    wnd_.SetActions(&actions_);
    roster_.SetView(&wnd_);
    roster_.Clear();
    timer_ = SetTimer(nullptr, 0, 30, PlayStep);
  }
  void TearDown() override {
    KillTimer(nullptr, timer_);
    Steps().clear();
    roster_.SetView(nullptr);
    SetAccountDialogs(nullptr);
    SetMessageBoxAutoAnswer(0);
    stack_.Remove(&wnd_);
    stack_.Remove(&frame_);
    DestroyWindow(wnd_.GetHwnd());
    DestroyWindow(frame_.GetHwnd());
    UiTest::TearDown();
  }

  // A contact of the model with its presence applied.
  void Contact(const char* group, const char* name, const char* jid, std::uint32_t online,
               const char* show = "", const char* status = "") {
    roster_.AddGroup(mstring(group));
    RosterItem item;
    item.jid = jid;
    item.name = utf8_to_wide(mstring(name));
    item.group = utf8_to_wide(mstring(group));
    item.subscription = "both";
    item.shown = settings_.onlyOnline ? 0 : 1;
    roster_.AddRosterItem(item);
    RosterItem presence;
    presence.jid = jid;
    presence.online = online;
    presence.show = show;
    presence.status = status;
    presence.resource = "desk";
    roster_.UpdatePresence(presence);
  }
  void Gateway(const char* jid, const char* name, const char* service) {
    AgentEntry agent{jid, name, name, service, std::uint8_t{settings_.showServices}};
    roster_.AddService(agent);
  }
  HTREEITEM ItemOf(const char* jid) {
    std::vector<HTREEITEM> items = wnd_.Tree().ContactItems(jid);
    return items.size() == 1 ? items[0] : nullptr;
  }
  std::u16string TextOfItem(const char* jid) {
    HTREEITEM item = ItemOf(jid);
    return item != nullptr ? std::u16string(wnd_.Tree().Text(item).c_str()) : u"<none>";
  }
  std::u16string GroupOf(const char* jid) {
    HTREEITEM item = ItemOf(jid);
    RosterItem* group = item != nullptr ? wnd_.Tree().Data(wnd_.Tree().Parent(item)) : nullptr;
    return group != nullptr ? std::u16string(group->name.c_str()) : u"<none>";
  }
  void Select(const char* jid) {
    SendMessage(wnd_.Tree().Hwnd(), TVM_SELECTITEM, TVGN_CARET,
                reinterpret_cast<LPARAM>(ItemOf(jid)));
  }
  void Command(UINT id) { wnd_.WindowProc(wnd_.GetHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  // Queues the user's steps for the dialogs the next command opens.
  static void Script(std::vector<DialogStep> steps) { Steps().assign(steps.begin(), steps.end()); }

  TempHome home_;
  MSettings settings_;
  MJabberService* jabber_ = nullptr;
  MAppMutexes mutexes_{4711};
  MJabberRoster roster_{mutexes_};
  RecordingActions actions_;
  TestFrame frame_{&stack_};
  HWND bar_ = nullptr;
  MRosterWnd wnd_{nullptr, &stack_, TestFont(), settings_, roster_};
  UINT_PTR timer_ = 0;
};
