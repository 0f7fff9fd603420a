#include "app/cap_alert_map.h"

#include <cstring>
#include <string>
#include <utility>

namespace {

// The text of a direct child element, whitespace at both ends removed, cut at a UTF-8
// character boundary.
std::string ChildText(xml_node* parent, const char* name) {
  const char* data = xml_node_get_tag_data(parent, name);
  if (data == nullptr) {
    return std::string();
  }
  std::string text(data);
  const char* blanks = " \t\r\n";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) {
    return std::string();
  }
  text = text.substr(first, text.find_last_not_of(blanks) - first + 1);
  if (text.size() > kMaxCapFieldBytes) {
    std::size_t cut = kMaxCapFieldBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
      --cut;  // never half a character
    }
    text.resize(cut);
  }
  return text;
}

mstring Field(xml_node* parent, const char* name) {
  return mstring(ChildText(parent, name).c_str());
}

// Every area's description, in order.
mstring Areas(xml_node* info) {
  std::string joined;
  for (xml_node* child = xml_node_first_child(info); child != nullptr;
       child = xml_node_next_sibling(child)) {
    if (child->type != XML_NODE_TAG || std::strcmp(child->name, "area") != 0) {
      continue;
    }
    std::string area = ChildText(child, "areaDesc");
    if (area.empty() || joined.size() + area.size() > kMaxCapFieldBytes) {
      continue;
    }
    joined += joined.empty() ? area : "; " + area;
  }
  return mstring(joined.c_str());
}

// CAP 1.0 writes an event code as text; later versions as valueName and value.
mstring EventCode(xml_node* info) {
  xml_node* code = xml_node_get_tag(info, "eventCode");
  mstring text = Field(info, "eventCode");
  if (code == nullptr || !text.empty()) {
    return text;
  }
  std::string name = ChildText(code, "valueName");
  std::string value = ChildText(code, "value");
  return mstring((name.empty() ? value : name + "=" + value).c_str());
}

mstring BareAddress(const char* from) {
  std::string address = from != nullptr ? from : "";
  return mstring(address.substr(0, address.find('/')).c_str());
}

}  // namespace

bool CapAlertFromMessage(xml_node* message, CapAlert* alert) {
  xml_node* element = xml_node_get_tag(message, "alert");
  if (element == nullptr || alert == nullptr) {
    return false;
  }
  CapAlert record;
  record.identifier = Field(element, "identifier");
  if (record.identifier.empty()) {
    return false;  // nothing could tell it apart from the sender's other alerts
  }
  record.source = Field(element, "source");
  record.sent = Field(element, "sent");
  record.status = Field(element, "status");
  record.msgType = Field(element, "msgType");
  record.scope = Field(element, "scope");
  record.sender = Field(element, "sender");
  if (record.sender.empty()) {
    record.sender = BareAddress(xml_node_get_attrib(message, "from"));
  }
  record.note = Field(element, "note");
  if (xml_node* info = xml_node_get_tag(element, "info")) {
    record.category = Field(info, "category");
    record.urgency = Field(info, "urgency");
    record.certainty = Field(info, "certainty");
    record.eventCode = EventCode(info);
    record.listText = Field(info, "headline");
    if (record.listText.empty()) {
      record.listText = Field(info, "event");
    }
    record.summary = Field(info, "description");
    record.instruction = Field(info, "instruction");
    record.contact = Field(info, "contact");
    record.affects = Areas(info);
  }
  if (record.listText.empty()) {
    record.listText = record.identifier;
  }
  *alert = std::move(record);
  return true;
}
