#include "app/dispatcher.h"

#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "app/login_control.h"
#include "app/roster_link.h"
#include "xml/namespaces.h"
#include "xml/text_convert.h"
#include "xmpp/iq_answers.h"
#include "xmpp/iq_tracking.h"
#include "xmpp/operations.h"

namespace {

bool FromRegistration(packet* p) {
  return std::strstr(packet_from(p), "/register") != nullptr;
}

}  // namespace

MDispatcher::MDispatcher(MApp* app, MLoginControl* login, MRosterLink* roster)
    : app_(app),
      login_(login),
      roster_(roster),
      presence_(app, roster, &countingNotifier_),
      geoloc_(app),
      conversations_(app),
      messages_(app, &conversations_),
      conferencePresence_(app),
      headlines_(app),
      capAlerts_(app, &countingNotifier_) {
  conversations_.SetNotifier(notifier_);
  messages_.SetNotifier(notifier_);
  headlines_.SetNotifier(notifier_);
}

void MDispatcher::SetNotifier(INotifier* notifier) {
  notifier_ = notifier != nullptr ? notifier : &countingNotifier_;
  presence_.SetNotifier(notifier_);
  conversations_.SetNotifier(notifier_);
  messages_.SetNotifier(notifier_);
  headlines_.SetNotifier(notifier_);
  capAlerts_.SetNotifier(notifier_);
}

void MDispatcher::DispatchPacket(packet* p) {
  if (p == nullptr) {
    return;
  }
  EnterCriticalSection(&app_->dispatchLock);
  if (app_->settings->debugMode) {
    char line[32];
    std::snprintf(line, sizeof line, "PACKET_SUBTYPE: %d", packet_subtype(p));
    app_->debugLog->Write(line);
    app_->debugLog->Write("PACKET: ");
    const char* text = xml_node_to_string(p->x);
    app_->debugLog->Write(text != nullptr ? text : "", true);
    app_->debugLog->Write("\n");
  }
  Route(p);
  LeaveCriticalSection(&app_->dispatchLock);
}

void MDispatcher::Route(packet* p) {
  switch (packet_subtype(p)) {
    case SUBTYPE_CHAT:
    case SUBTYPE_GROUPCHAT:
      // An ordinary message with a link from a news sender is a headline; from anyone else
      // it stays a message.
      if (!headlines_.Receive(p)) {
        messages_.Show(p, packet_subtype(p) == SUBTYPE_GROUPCHAT);
      }
      break;
    case SUBTYPE_HEADLINE:
    case SUBTYPE_URL_DATA:
      headlines_.Receive(p);  // a stranger's headline is dropped
      break;
    case SUBTYPE_GET:
      RouteGet(p);
      break;
    case SUBTYPE_SET:
      RouteSet(p);
      break;
    case SUBTYPE_SUBSCRIBE:
      Subscription(p);
      break;
    case SUBTYPE_AVAILABLE:
      presence_.Available(p);
      break;
    case SUBTYPE_UNAVAILABLE:
      presence_.Unavailable(p);
      break;
    case SUBTYPE_LOCATION_REQUEST:
      LocationRequest(p);
      break;
    case SUBTYPE_GEOLOC:
      geoloc_.EventReceived(p);
      break;
    case SUBTYPE_MUC_PRESENCE:
      conferencePresence_.Show(p);
      break;
    case SUBTYPE_CAP_ALERT:
      capAlerts_.Received(p);
      break;
    default:
      break;
  }
}

void MDispatcher::RouteGet(packet* p) {
  int ns = packet_ns_code(packet_query(p));
  if (ns == NS_REMOTEIP) {
    if (!FromRegistration(p) && FromRosterContact(p)) {
      answer_remoteip_request(app_->session, packet_from(p), packet_id(p));
    }
    return;
  }
  if (ns == NS_GEOLOC) {
    if (FromRosterContact(p)) {
      answer_location_request(app_->session, packet_from(p), packet_id(p));
    }
    return;
  }
  if (ns == NS_DISCO_INFO) {
    answer_disco_info(app_->session, p);
    return;
  }
  if (safe_strcmp(p->iq_ns, NS_URI_PING) == 0) {
    answer_ping(app_->session, p);
    return;
  }
  answer_service_unavailable(app_->session, p);
}

void MDispatcher::RouteSet(packet* p) {
  if (packet_ns_code(packet_query(p)) == NS_ROSTER) {
    roster_->RosterPush(p);
    return;
  }
  answer_service_unavailable(app_->session, p);
}

// Only a request for a subscription is approved (automatically, as the program always did);
// an approval, a refusal or a cancellation answered with "subscribed" would grant a
// subscription nobody asked for.
void MDispatcher::Subscription(packet* p) {
  if (safe_strcmp(xml_node_get_attrib(p->x, "type"), "subscribe") != 0 || FromRegistration(p)) {
    return;
  }
  send_subscribed(app_->session, packet_from(p));
}

void MDispatcher::LocationRequest(packet* p) {
  if (FromRosterContact(p)) {
    publish_location(app_->session, packet_from(p));
  }
}

bool MDispatcher::FromRosterContact(packet* p) {
  mstring from = packet_from(p);
  mstring bare = from.substr(0, from.find('/'));
  if (bare.empty()) {
    return false;
  }
  RosterItem entry = app_->roster->GetItem(bare.c_str(), "");
  return !entry.jid.empty() && !entry.name.empty() && !(entry.group == u"Services");
}
