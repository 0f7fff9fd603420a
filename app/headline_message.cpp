#include "app/headline_message.h"

#include "xml/jid.h"
#include "xml/namespaces.h"
#include "xml/text_convert.h"
#include "xml/xml_node.h"

namespace {

xml_node* OobLink(packet* p) {
  return xml_node_get_tag(p->x, "x?xmlns=" NS_URI_OOB);
}

mstring Data(const char* text) {
  return mstring(text != nullptr ? text : "");
}

// Cut to `limit` units without leaving half of a surrogate pair at the end.
wmstring Bounded(const mstring& utf8, std::uint32_t limit) {
  wmstring text = utf8_to_wide(utf8);
  if (text.length() <= limit) {
    return text;
  }
  std::uint32_t end = limit;
  char16_t last = text.c_str()[end - 1];
  if (last >= 0xD800 && last <= 0xDBFF) {
    --end;
  }
  return text.substr(0, end);
}

struct Link {
  mstring url;
  mstring description;
};

// The jabber:x:oob link, else the url-data one.
Link LinkOf(packet* p) {
  if (xml_node* oob = OobLink(p)) {
    return {Data(xml_node_get_tag_data(oob, "url")), Data(xml_node_get_tag_data(oob, "desc"))};
  }
  if (xml_node* urlData = xml_node_get_tag(p->x, "url-data")) {
    return {Data(xml_node_get_attrib(urlData, "target")),
            Data(xml_node_get_tag_data(urlData, "desc"))};
  }
  return {};
}

bool EndsWithSubdomainOf(const char* server, const mstring& domain) {
  mstring name(server);
  if (name.length() <= domain.length() + 1) {
    return false;
  }
  std::uint32_t dot = name.length() - domain.length() - 1;
  return name.c_str()[dot] == '.' && mstricmp(name.c_str() + dot + 1, domain.c_str()) == 0;
}

mstring BareAddress(const jid* from) {
  return from->user != nullptr ? mstring(from->user) + "@" + from->server : mstring(from->server);
}

}  // namespace

bool IsHeadlineMessage(packet* p) {
  if (p == nullptr || p->type != PACKET_MESSAGE) {
    return false;
  }
  int subtype = packet_subtype(p);
  if (subtype == SUBTYPE_HEADLINE || subtype == SUBTYPE_URL_DATA) {
    return true;
  }
  const char* type = xml_node_get_attrib(p->x, "type");
  bool normal = type == nullptr || *type == '\0' || safe_strcmp(type, "normal") == 0;
  return subtype == SUBTYPE_CHAT && normal && OobLink(p) != nullptr;
}

bool HeadlineSenderAccepted(const jid* from, const HeadlineSender& sender) {
  if (from == nullptr || from->server == nullptr) {
    return false;
  }
  if (sender.rosterContact) {
    return true;
  }
  if (sender.ownDomain.empty()) {
    return false;
  }
  if (from->user == nullptr && mstricmp(from->server, sender.ownDomain.c_str()) == 0) {
    return true;  // the server itself (its announcements)
  }
  return EndsWithSubdomainOf(from->server, sender.ownDomain);
}

std::optional<Headline> HeadlineFromMessage(packet* p, const HeadlineSender& sender) {
  if (!IsHeadlineMessage(p) || !HeadlineSenderAccepted(p->from, sender)) {
    return std::nullopt;
  }
  Link link = LinkOf(p);
  Headline headline;
  if (link.url.length() <= kHeadlineUrlLimit) {
    headline.url = link.url;
  }
  mstring subject = packet_subject(p);
  headline.title = Bounded(subject.empty() ? link.description : subject, kHeadlineTitleLimit);
  headline.description = Bounded(packet_body(p), kHeadlineDescriptionLimit);
  if (headline.url.empty() && headline.title.empty() && headline.description.empty()) {
    return std::nullopt;
  }
  headline.source =
      sender.rosterName.empty() ? utf8_to_wide(BareAddress(p->from)) : sender.rosterName;
  return headline;
}
