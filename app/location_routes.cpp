#include "app/location_routes.h"

#include <vector>

#include "app/app.h"
#include "app/conversations.h"
#include "app/jabber_wnd.h"
#include "location/location_pages.h"
#include "location/location_thread.h"
#include "platform/menu.h"
#include "ui/chat_wnd.h"
#include "ui/route_dialogs.h"
#include "xml/text_convert.h"

namespace {

mstring OwnBare(MApp* app) {
  return session_own_bare(app->session);
}

}  // namespace

void MLocationRoutes::StartThread(IJabberHost& host) {
  StartLocationThread(host, app_->session, *app_->roster,
                      {&app_->locationPublished, &app_->locationRequested});
}

void MLocationRoutes::StopThread() {
  StopLocationThread();
}

void MLocationRoutes::ShowMyLocation() {
  ShowLocationPage(*app_->settings, OwnBare(app_));
}

void MLocationRoutes::CalculateRoute() {
  HWND owner = app_->mainFrame->GetHwnd();
  std::vector<mstring> users;
  for (const RosterItem& item : app_->roster->ListItems(wmstring())) {
    users.push_back(item.jid);
  }
  if (!RunRouteDialog(owner, RouteDialog::kStart, start_, users)) {
    return;
  }
  destination_ = start_;
  if (!RunRouteDialog(owner, RouteDialog::kDestination, destination_, users)) {
    return;
  }
  SendRoute(start_, destination_);
}

// "You" stands for the user's own bare jid.
void MLocationRoutes::SendRoute(RouteEndpoint start, RouteEndpoint destination) {
  mstring own = OwnBare(app_);
  for (RouteEndpoint* end : {&start, &destination}) {
    if (end->user == "You") {
      end->user = own;
    }
  }
  RequestRoute(app_->session, app_->settings->lbsJid, start, destination);
}

void MLocationRoutes::RouteReceived(packet* answer) {
  mstring from = packet_from(answer);
  mstring service = from.substr(0, from.find('/'));
  ChatRecord* record = conversations_->ShowConversation(service, "");
  if (record == nullptr) {
    return;
  }
  MChatWnd& chat = *app_->chatWindow;
  chat.AppendToHistory(record, utf8_to_wide(RouteMarkup(answer)), false);
  chat.BringToFront();
  chat.Redraw();
}

bool MLocationRoutes::OwnPosition(mstring* lat, mstring* lon) {
  if (!app_->settings->locationSupport) {
    return false;
  }
  *lat = app_->settings->latitude;
  *lon = app_->settings->longitude;
  return true;
}

void MLocationRoutes::ShowMap(const RosterItem& contact) {
  ShowLocationPage(*app_->settings, contact.jid);
}

void MLocationRoutes::Route(const RosterItem& contact, bool toContact) {
  RouteEndpoint user;
  user.user = OwnBare(app_);
  RouteEndpoint other;
  other.user = contact.jid;
  if (toContact) {
    SendRoute(user, other);
  } else {
    SendRoute(other, user);
  }
}
