// The handheld's connection manager, replaced: on Linux the data connection is "up" while the
// host has a network route to the server (or, when the server's name cannot be resolved yet,
// any default route). Nothing is dialled; the handle only remembers what to check.
//
// Registry (HKEY_LOCAL_MACHINE, key "Software\orvik\Network"), both REG_DWORD:
//   "ROUTE CHECK"    default 1; 0 reports the connection as always up, for hosts whose routing
//                    the check cannot see (some containers and VPNs);
//   "LOGIN TIMEOUT"  milliseconds a server may take from the connection to a completed login
//                    before the connection is ended (default 45000): a server that accepts
//                    the connection and then says nothing must not hold the login forever.
#pragma once

#include <netinet/in.h>

#include "platform/win32_types.h"

constexpr const char16_t* kNetworkKey = u"Software\\orvik\\Network";

// Status values of the platform's connection manager.
constexpr DWORD CONNMGR_STATUS_UNKNOWN = 0x00;
constexpr DWORD CONNMGR_STATUS_CONNECTED = 0x10;
constexpr DWORD CONNMGR_STATUS_DISCONNECTED = 0x20;  // 0x20..0x23: disconnected or waiting

struct cm_connection {
  int established = 0;
  int check_routes = 0;  // "ROUTE CHECK", read when the connection is established
  int has_address = 0;
  in_addr address{};  // the server's, when it could be resolved
  // The route check's last answer, and a netlink socket that hears of every change of
  // routes, addresses and links: the check runs again only after one (every time when no
  // such socket could be had), so an idle connection opens no socket per look.
  int up = 0;
  int route_watch = -1;
};

// Waits for the connection manager to be ready (at most `milliseconds`): true at once here.
bool cm_wait_ready(DWORD milliseconds);
// Brings up (here: checks) a data connection towards `server`. 0, or -1 when there is no route.
int cm_establish(cm_connection* connection, const char* server);
// The status of the connection; a failed query answers CONNMGR_STATUS_UNKNOWN.
DWORD cm_status(cm_connection* connection);
void cm_release(cm_connection* connection);
// The "LOGIN TIMEOUT" value.
DWORD cm_login_timeout();
