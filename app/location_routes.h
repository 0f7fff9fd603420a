// MLocationRoutes: the location features behind the main frame: the location thread, the own
// location page ("MyLocation"), routes ("Calculate Route" and the contact information
// dialog's Route buttons) and the route answers, shown in the service's chat.
#pragma once

#include "location/route.h"
#include "ui/roster_dialogs.h"
#include "xml/packet.h"

class IJabberHost;
class MApp;
class MConversations;

class MLocationRoutes : public IContactLocation {
 public:
  MLocationRoutes(MApp* app, MConversations* conversations)
      : app_(app), conversations_(conversations) {}

  void StartThread(IJabberHost& host);
  void StopThread();
  // The location thread's fix indicator message (user-interface thread).
  // "MyLocation": the location page of the user's own bare jid.
  void ShowMyLocation();
  // "Calculate Route": the start, then the destination, then the request.
  void CalculateRoute();
  // A route answer from the service the request went to.
  void RouteReceived(packet* answer);

  bool OwnPosition(mstring* lat, mstring* lon) override;
  void ShowMap(const RosterItem& contact) override;
  void Route(const RosterItem& contact, bool toContact) override;

 private:
  void SendRoute(RouteEndpoint start, RouteEndpoint destination);

  MApp* app_;
  MConversations* conversations_;
  // The last ends the route dialogs edited, offered again the next time.
  RouteEndpoint start_;
  RouteEndpoint destination_;
};
