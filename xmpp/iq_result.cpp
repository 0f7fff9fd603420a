// Results of tracked requests, by the tag of the request they answer.
#include <cstring>

#include "xml/field_copy.h"
#include "xml/namespaces.h"
#include "xml/packet_lists.h"
#include "xml/text_convert.h"
#include "xmpp/iq_tracking.h"
#include "xmpp/negotiation.h"
#include "xmpp/stanza_send.h"

namespace {

bool is(const PendingIq& record, const char* tag) {
  return record.tag == tag;
}

bool to_own_server(MJabberSession* session, const PendingIq& record) {
  return mstricmp(record.target.c_str(), session_server(session).c_str()) == 0;
}

// A gateway's registration form: filled with the gateway account's credentials.
void gateway_form(MJabberSession* session, packet* p) {
  const char* from = packet_from(p);
  mstring name;
  mstring type;
  if (!session->host->FindService(from, &name, &type) || name.empty())
    return;
  IJabberService* account =
      session->host->Settings().FindServiceAccount(wmstring(type.c_str()).c_str());
  if (!account)
    return;
  mstring user = wide_to_utf8(account->GetUsername());
  mstring password = wide_to_utf8(account->GetPassword());
  if (user.empty() || password.empty())
    return;
  request_register_to(session, from, user.c_str(), password.c_str(), packet_key(p));
}

void disco_items(MJabberSession* session, packet* p) {
  disco_item_rec* items = packet_disco_items(p, nullptr);
  for (disco_item_rec* item = items; item; item = item->next) {
    if (item->jid && *item->jid)
      request_disco_info(session, item->jid);
  }
  disco_item_list_free(items);
}

void disco_info(MJabberSession* session, packet* p) {
  disco_info_rec* info = packet_disco_info(p);
  const char* category = info->category ? info->category : "";
  if (std::strcmp(category, "gateway") == 0 && *info->from && info->type) {
    IJabberService* account =
        session->host->Settings().FindServiceAccount(wmstring(info->type).c_str());
    if (account)
      session->host->AddService(info->from, account->GetName(), info->type);
  } else {
    for (text_rec* feature = info->features; feature; feature = feature->next) {
      if (std::strcmp(category, "collaboration") == 0 && feature->text &&
          std::strcmp(feature->text, NS_URI_COMMANDS) == 0) {
        session->collab_service = info->from;
        mstring own = session_own_address(session);
        jab_send_disco_items(session->conn, info->from, own.c_str(), NS_URI_COMMANDS,
                             COLLAB_QUERY_ID);
      }
    }
  }
  disco_info_free(info);
}

// The dial session id: inside the answer's first child (as the collaboration service of old
// sent it) or, as the ad-hoc commands protocol has it, a `command` directly under the iq.
void dial_session(MJabberSession* session, packet* p) {
  char text[256];
  field_buf out{text, sizeof text};
  const char* id = packet_command_session(p, out);
  if (!id) {
    xml_node* command = xml_node_get_tag(p->x, "command");
    id = xml_node_get_attrib(command, "sessionid");
  }
  session->host->DialSessionStarted(id ? id : "");
}

void fetched_location(MJabberSession* session, packet* p) {
  char alt[64], lon[64], lat[64], timestamp[64], owner[512];
  packet_geoloc_items(p, {alt, sizeof alt}, {lon, sizeof lon}, {lat, sizeof lat},
                      {timestamp, sizeof timestamp}, {owner, sizeof owner});
  if (*owner)
    session->host->ContactLocation(owner, alt, lon, lat, timestamp);
}

// A legacy authentication result completes the login only when it is empty: any payload
// means the server did not simply accept the credentials.
void legacy_auth(MJabberSession* session, packet* p) {
  if (xml_node_first_child(p->x))
    session_login_refused(session);
  else
    session_login_complete(session, true);
}

}  // namespace

void iq_result(MJabberSession* session, packet* p) {
  PendingIq record;
  if (!pending_take(session, p, &record))
    return;
  if (is(record, NS_URI_REGISTER)) {
    if (to_own_server(session, record))
      session_registration_result(session);
    else
      gateway_form(session, p);
  } else if (is(record, NS_URI_AUTH)) {
    legacy_auth(session, p);
  } else if (is(record, NS_URI_BIND)) {
    session_bind_result(session);
  } else if (is(record, NS_URI_SESSION)) {
    session_login_complete(session, false);
  } else if (is(record, TAG_DISCO_ITEMS)) {
    disco_items(session, p);
  } else if (is(record, TAG_DISCO_INFO)) {
    disco_info(session, p);
  } else if (is(record, TAG_DIAL)) {
    dial_session(session, p);
  } else if (is(record, NS_URI_REMOTEIP)) {
    phone_launch(session, packet_host(p), record.target.c_str());
  } else if (is(record, TAG_PUBSUB_ITEMS)) {
    fetched_location(session, p);
  } else if (is(record, NS_URI_ROUTING)) {
    session->host->RouteReceived(p);
  }
  // "transport_register", roster, geoloc and pubsub subscriptions: nothing more to do.
}
