// "Route Start" (325) and "Route Destination" (107): one procedure edits one end of a route,
// either a user from the contact list ("You" for the user) or a postal address.
#pragma once

#include <vector>

#include "location/route.h"
#include "platform/window.h"
#include "xml/mstring.h"

constexpr int IDC_ROUTE_USE_USER = 1089;
constexpr int IDC_ROUTE_USE_ADDRESS = 1090;
constexpr int IDC_ROUTE_USERS = 1091;
constexpr int IDC_ROUTE_STREET = 1092;
constexpr int IDC_ROUTE_CITY = 1093;
constexpr int IDC_ROUTE_STATE = 1096;
constexpr int IDC_ROUTE_ZIP = 1097;
constexpr int IDC_ROUTE_COUNTRY = 1099;

enum class RouteDialog { kStart, kDestination };

// Runs the dialog on `endpoint`; `users` are the contacts' jids in group order ("You" is added
// at the end). True when confirmed with an end chosen; the endpoint is changed only then.
bool RunRouteDialog(HWND owner, RouteDialog which, RouteEndpoint& endpoint,
                    const std::vector<mstring>& users);
