// The three pages of the alert viewer. Every page starts with Reset and ends with Redraw; the
// program's own markup is appended as it is, every value of an alert escaped.
#include <cstdio>

#include "alerts/cap_alert_wnd.h"
#include "ui/chat_format.h"
#include "ui/html_entities.h"
#include "xml/text_convert.h"

namespace {

constexpr const WCHAR* kBarA =
    u"<P><A HREF = \"index\">[Index]</A><A HREF = \"close\">[Close]</A></P>";
constexpr const WCHAR* kBarB =
    u"<A HREF = \"index\">[Index]</A><A HREF = \"senderindex\">[Msgs]</A>"
    u"<A HREF = \"close\">[Close]</A>";

wmstring Count(const char* format, std::size_t count) {
  char text[96];
  std::snprintf(text, sizeof text, format, count);
  return utf8_to_wide(text);
}

}  // namespace

void MCapAlertWnd::AppendText(const mstring& text) {
  Append(ProtectMarkup(utf8_to_wide(text)).c_str());
}

// A link target between double quotes: every quote and bracket as an entity.
void MCapAlertWnd::AppendAttribute(const mstring& text) {
  Append(EncodeEntities(utf8_to_wide(text).c_str()).c_str());
}

void MCapAlertWnd::AppendField(const char* label, const mstring& value) {
  Append(u"<P>");
  AppendNarrow(label);
  AppendText(value);
  Append(u"</P>");
}

void MCapAlertWnd::IndexPage() {
  Reset();
  Append(kBarA);
  currentPage_ = "index";
  Append(u"<P><B><CENTER>CAP Alerts</CENTER></B></P>");
  if (store_.senders().empty()) {
    Append(u"<P><CENTER>No alerts have been received.</CENTER></P>");
  }
  for (const auto& [sender, list] : store_.senders()) {
    mstring name(sender.c_str());
    Append(u"<P><b><A HREF = \"");
    AppendAttribute(name);
    Append(u"\">");
    AppendText(name);
    Append(u"</A></b></P>");
  }
  if (store_.droppedSenders() > 0) {
    Append(Count("<P><CENTER>The alerts of %zu older senders were dropped.</CENTER></P>",
                 store_.droppedSenders())
               .c_str());
  }
  Append(kBarA);
  Redraw();
}

void MCapAlertWnd::SenderPage() {
  Reset();
  currentPage_ = "senderindex";
  Append(kBarA);
  Append(u"<P></P>");
  Append(u"<p><b>Alerts from ");
  AppendText(currentSender_);
  Append(u":</b></p>");
  if (const MCapAlertStore::SenderAlerts* list = store_.Find(currentSender_)) {
    if (list->dropped > 0) {
      Append(
          Count("<p>%zu older alerts from this sender were dropped.</p>", list->dropped).c_str());
    }
    for (const CapAlert& alert : list->alerts) {
      Append(u"<A HREF = \"");
      AppendAttribute(alert.identifier);
      Append(u"\">");
      AppendText(alert.listText);
      Append(u"</A>");
      Append(u"<br></br>");  // closed: the view takes only well-formed markup
    }
  }
  Append(u"<p></p>");
  Append(kBarA);
  Redraw();
}

void MCapAlertWnd::DetailPage(const mstring& identifier) {
  Reset();
  Append(kBarB);
  Append(u"<P></P>");
  // On a sender's page the link means that sender's alert, even when another sender uses the
  // same identifier.
  if (const CapAlert* alert = store_.FindAlert(identifier, currentSender_)) {
    currentPage_ = identifier;
    currentSender_ = alert->sender;
    AppendField("<b>ID:</b>", alert->identifier);
    AppendField("<b>Contact:</b>", alert->contact);
    AppendField("<b>Sent:</b>", alert->sent);
    AppendField("<b>Status:</b>", alert->status);
    AppendField("<b>Type:</b>", alert->msgType);
    AppendField("<b>Scope:</b>", alert->scope);
    AppendField("<b>Category:</b>", alert->category);
    AppendField("<b>Urgency:</b>", alert->urgency);
    AppendField("<b>Certainty:</b>", alert->certainty);
    AppendField("<b>Eventcode:</b>", alert->eventCode);
    AppendField("<b>Sender:</b>", alert->sender);
    AppendField("", alert->summary);
    AppendField("<b>Affects:</b>", alert->affects);
    AppendField("<b>Instruction:</b>", alert->instruction);
  }
  Append(u"<P></P>");
  Append(kBarB);
  Redraw();
}
