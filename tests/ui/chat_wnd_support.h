// The chat window in a test: real settings in a temporary profile, the active chats window
// wired to it, and the application's chat operations recorded (the network path is proven by
// the end-to-end tests).
#pragma once

#include <string>
#include <vector>

#include "platform/controls.h"
#include "tests/support/temp_home.h"
#include "tests/ui/ui_support.h"
#include "ui/active_chats_wnd.h"
#include "ui/chat_wnd.h"
#include "xml/text_convert.h"

class RecordingChatActions : public IChatActions {
 public:
  int SendChat(const mstring& to, const mstring& body) override {
    log.push_back(std::string("chat ") + to.c_str() + " " + body.c_str());
    return sendResult;
  }
  int SendGroupChat(const mstring& room, const mstring& body) override {
    log.push_back(std::string("groupchat ") + room.c_str() + " " + body.c_str());
    return 0;
  }
  void InviteToRoom(const mstring& room, const mstring& invitee, const mstring& reason) override {
    log.push_back(std::string("invite ") + room.c_str() + " " + invitee.c_str() + "|" +
                  reason.c_str());
  }
  void LeaveRoom(const mstring& room) override {
    log.push_back(std::string("leave ") + room.c_str());
  }
  wmstring OwnName() override { return u"Me"; }
  std::vector<RosterItem> GroupMembers(const wmstring&) override { return members; }
  void OpenXmppAddress(const mstring& address) override {
    log.push_back(std::string("xmpp ") + address.c_str());
  }
  void ShowRoster() override { log.push_back("roster"); }

  int sendResult = 0;
  std::vector<RosterItem> members;
  std::vector<std::string> log;
};

inline RosterItem Peer(const char* jid, const char16_t* name, const char* serviceType = "",
                       std::uint32_t online = 1, const char* show = "") {
  RosterItem item;
  item.jid = jid;
  item.name = name;
  item.serviceType = serviceType;
  item.online = online;
  item.show = show;
  return item;
}

class ChatWndTest : public UiTest {
 protected:
  void SetUp() override {
    active_.Create(nullptr, 0, 0);
    chat_.Create(nullptr, 0, 0);
    MoveWindow(chat_.GetHwnd(), 0, 0, 420, 480, TRUE);
    chat_.SetActions(&actions_);
    chat_.SetActiveChats(&active_);
    active_.SetChatWindow(&chat_);
    ProcessDisplayEvents();
  }
  void TearDown() override {
    chat_.CloseAllChats();
    stack_.Remove(&chat_);
    stack_.Remove(&active_);
    DestroyWindow(chat_.GetHwnd());
    DestroyWindow(active_.GetHwnd());
    UiTest::TearDown();
  }
  ChatRecord* Open(int type, const char* jid, const char16_t* name = u"Bob") {
    ChatRecord* record = chat_.OpenChat(type, name, Peer(jid, name));
    chat_.SetCurrentChat(record);
    chat_.Redraw();
    return record;
  }
  HWND Input() { return chat_.Control(kChatInputId); }
  std::u16string InputText() {
    WCHAR text[2048] = {};
    GetWindowTextW(Input(), text, 2048);
    return text;
  }
  void Type(const char16_t* text) { SetWindowTextW(Input(), text); }
  std::u16string History(ChatRecord* record) { return record->History(); }
  // Image of the active chats entry of `record` (-2 when it has none).
  int ImageOf(const ChatRecord* record) {
    for (HTREEITEM item : active_.Items()) {
      if (active_.RecordOf(item) == record) {
        TVITEM fields{};
        fields.mask = TVIF_HANDLE | TVIF_IMAGE;
        fields.hItem = item;
        TreeView_GetItem(active_.Tree(), &fields);
        return fields.iImage;
      }
    }
    return -2;
  }

  TempHome home_;
  MSettings settings_;
  RecordingChatActions actions_;
  MActiveChatsWnd active_{nullptr, &stack_, TestFont(), settings_};
  MChatWnd chat_{nullptr, &stack_, TestFont(), settings_};
};
