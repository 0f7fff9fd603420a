#include "app/message_display.h"

#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "app/conversations.h"
#include "ui/active_chats_wnd.h"
#include "ui/chat_format.h"
#include "ui/chat_wnd.h"
#include "xml/text_convert.h"

namespace {

void SplitAddress(const mstring& from, mstring* bare, mstring* resource) {
  std::uint32_t slash = from.find('/');
  *bare = from.substr(0, slash);
  *resource = slash == mstring::npos ? mstring() : from.substr(slash + 1);
}

// What went wrong with a message that came back as an error: the server's text, else the
// name of the condition ("service-unavailable"), else the code.
mstring ErrorText(packet* p) {
  char text[512];
  std::int32_t code = 0;
  packet_error(p, &code, field_buf{text, sizeof text});
  if (text[0] != '\0') {
    return text;
  }
  xml_node* error = xml_node_get_tag(p->x, "error");
  for (xml_node* child = xml_node_first_content(error); child != nullptr;
       child = xml_node_next_content(child)) {
    if (child->type == XML_NODE_TAG && std::strcmp(xml_node_name(child), "text") != 0) {
      return xml_node_name(child);
    }
  }
  if (code != 0) {
    char number[32];
    std::snprintf(number, sizeof number, "error %d", static_cast<int>(code));
    return number;
  }
  return "error";
}

bool IsError(packet* p) {
  const char* type = xml_node_get_attrib(p->x, "type");
  return type != nullptr && std::strcmp(type, "error") == 0;
}

}  // namespace

void MMessageDisplay::Show(packet* p, bool groupchat) {
  mstring from = packet_from(p);
  mstring bare;
  mstring resource;
  SplitAddress(from, &bare, &resource);
  mstring bodyText = packet_body(p);
  if (bodyText == "<HTML>") {
    return;  // an HTML-only message of an old client: nothing to show
  }
  if (!groupchat && IsError(p)) {
    ShowError(p, from);
    return;
  }
  if (bodyText.empty() && mstring(packet_subject(p)).empty()) {
    return;  // typing notifications, receipts, a room's empty subject: nothing to read
  }
  wmstring body = utf8_to_wide(bodyText);
  HWND focus = GetFocus();
  bool privateInRoom = false;
  ChatRecord* record =
      groupchat ? conversations_->OpenConversation(kChatConference, wmstring(), bare, resource)
                : OneToOneRecord(bare, resource, &privateInRoom);
  if (record == nullptr) {
    return;
  }
  MChatWnd& chat = *app_->chatWindow;
  bool inView = chat.InView(record);
  record->thread = packet_thread(p);
  wmstring speaker = privateInRoom ? utf8_to_wide(resource) : SpeakerName(bare, resource);
  PlayMessageSound();
  AppendMessage(record, groupchat, speaker, resource, body, packet_subject(p));
  BringToUser(record, groupchat, inView, privateInRoom ? from : bare, speaker, body, focus);
  if (!chat.InView(record)) {
    chat.SetNewMessage(record, true);  // brought forward, it is read already
  }
}

ChatRecord* MMessageDisplay::OneToOneRecord(const mstring& bare, const mstring& resource,
                                            bool* privateInRoom) {
  *privateInRoom =
      !resource.empty() && app_->chatWindow->FindChat(bare, kChatConference) != nullptr;
  if (*privateInRoom) {
    return conversations_->OpenConversation(kChatOneToOne, wmstring(), bare + "/" + resource, "");
  }
  return conversations_->OpenConversation(kChatOneToOne, wmstring(), bare, resource);
}

// A contact's roster nickname names a gateway or server sender (no "@"); a user is named by
// the part of the address before "@".
wmstring MMessageDisplay::SpeakerName(const mstring& bare, const mstring& resource) {
  RosterItem entry = app_->roster->GetItem(bare.c_str(), resource.c_str());
  if (!entry.name.empty() && bare.find('@') == mstring::npos) {
    return entry.name;
  }
  return utf8_to_wide(bare.substr(0, bare.find('@')));
}

void MMessageDisplay::PlayMessageSound() {
  const MSettings& settings = *app_->settings;
  if (!settings.soundMessageSupport || notifier_ == nullptr) {
    return;
  }
  if (settings.soundSupport) {
    notifier_->PlayEventSound(EventSound::Message);
  }
  if (settings.vibrateSupport) {
    notifier_->Vibrate(settings.vibrationDuration);
  }
}

void MMessageDisplay::AppendMessage(ChatRecord* record, bool groupchat, const wmstring& speaker,
                                    const mstring& resource, const wmstring& body,
                                    const mstring& subject) {
  MChatWnd& chat = *app_->chatWindow;
  chat.AppendToHistory(record, u"<P>", false);
  wmstring nickname = ProtectMarkup(utf8_to_wide(resource));
  if (!groupchat) {
    chat.AppendToHistory(
        record,
        u"<FONT COLOR=\"BLACK\">" + ProtectMarkup(speaker) + u" says: </FONT><FONT COLOR=\"BLUE\">",
        false);
  } else if (resource.empty()) {
    chat.AppendToHistory(record, u"<FONT COLOR=\"GREEN\">", false);
  } else if (body.empty() && !subject.empty()) {
    chat.AppendToHistory(
        record, u"<FONT COLOR=\"PURPLE\">" + nickname + u" changes the subject to: ", false);
    chat.AppendToHistory(record, utf8_to_wide(subject) + u" ", true);
  } else {
    chat.AppendToHistory(
        record, u"<FONT COLOR=\"BLACK\">" + nickname + u" says: </FONT><FONT COLOR=\"BLUE\">",
        false);
  }
  chat.AppendToHistory(record, body, true);
  chat.AppendToHistory(record, u"</FONT></P>", false);
}

void MMessageDisplay::BringChatWindowForward(ChatRecord* record) {
  MChatWnd& chat = *app_->chatWindow;
  chat.SetCurrentChat(record);
  chat.Show();
  chat.Redraw();
}

void MMessageDisplay::BringToUser(ChatRecord* record, bool groupchat, bool inView,
                                  const mstring& title, const wmstring& speaker,
                                  const wmstring& body, HWND focus) {
  const MSettings& settings = *app_->settings;
  if (inView) {
    app_->chatWindow->Redraw();
  } else if (groupchat) {
    if (settings.bringToFront) {
      BringChatWindowForward(record);
    }
  } else if (settings.enablePopups) {
    if (notifier_ != nullptr) {
      notifier_->ShowPopup(utf8_to_wide(title), speaker + u" says: " + body);
    }
  } else if (settings.bringToFront) {
    BringChatWindowForward(record);
  } else if (focus != nullptr) {
    SetFocus(focus);
  }
}

void MMessageDisplay::ShowError(packet* p, const mstring& from) {
  mstring bare;
  mstring resource;
  SplitAddress(from, &bare, &resource);
  MChatWnd& chat = *app_->chatWindow;
  // The conversation of a private room message is keyed by the full address.
  ChatRecord* record = chat.FindChat(from, kChatOneToOne);
  if (record == nullptr) {
    record = conversations_->OpenConversation(kChatOneToOne, wmstring(), bare, resource, true);
  }
  if (record == nullptr) {
    return;
  }
  chat.AppendToHistory(
      record,
      u"<P><FONT COLOR=\"RED\">" +
          ProtectMarkup(utf8_to_wide("Not delivered to " + from + ": " + ErrorText(p))) +
          u"</FONT></P>",
      false);
  if (chat.InView(record)) {
    chat.Redraw();
  } else {
    chat.SetNewMessage(record, true);
  }
}
