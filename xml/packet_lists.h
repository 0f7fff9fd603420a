// The list extractors of a packet. Records and their strings come from the general heap; the
// caller releases a list with its _free function. Absent strings are null unless said.
#pragma once

#include "xml/packet.h"

struct agent_rec {
  char* jid;
  char* name;
  char* description;
  char* service;
  agent_rec* next;
};

struct roster_item_rec {
  char* jid;
  char* name;
  char* subscription;
  char* ask;  // "subscribe" while our own request for the contact's presence is pending
  char* group;
  roster_item_rec* next;
};

struct disco_item_rec {
  char* jid;
  char* name;
  disco_item_rec* next;
};

struct text_rec {
  char* text;
  text_rec* next;
};

struct disco_info_rec {
  char* from;  // "" when absent
  char* type;
  char* category;
  text_rec* features;  // the `var` of each feature, in reverse document order
};

// Route endpoints: jid, street, city, state, zip, country, in that order.
enum { ROUTE_JID, ROUTE_STREET, ROUTE_CITY, ROUTE_STATE, ROUTE_ZIP, ROUTE_COUNTRY, ROUTE_FIELDS };

// One record per element child of the root (apply to the packet made by packet_query).
agent_rec* packet_agents(packet* p);
// One record per element child of the root (apply to the packet made by packet_query); the
// group is the `group` attribute or else the `group` child's text, unescaped once more.
roster_item_rec* packet_roster_items(packet* p);
// The `item` children of the query payload, in order, followed by `list`.
disco_item_rec* packet_disco_items(packet* p, disco_item_rec* list);
// Identity and features of a disco#info answer; never null.
disco_info_rec* packet_disco_info(packet* p);
// Source and destination endpoints into the buffers, and the route segments; null without
// a destination.
text_rec* packet_route(packet* p, field_buf src[ROUTE_FIELDS], field_buf dst[ROUTE_FIELDS]);

void agent_list_free(agent_rec* list);
void roster_item_list_free(roster_item_rec* list);
void disco_item_list_free(disco_item_rec* list);
void text_list_free(text_rec* list);
void disco_info_free(disco_info_rec* info);
