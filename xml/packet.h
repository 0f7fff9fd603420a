// A received top-level element classified for the dispatcher: type, subtype, addresses and
// the IQ payload, plus the extractors that read fields out of it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "xml/jid.h"
#include "xml/xml_node.h"

enum {
  PACKET_UNKNOWN = 0,
  PACKET_MESSAGE = 1,
  PACKET_PRESENCE = 2,
  PACKET_IQ = 4,
  PACKET_FEATURES = 16,
  PACKET_COMPRESSED = 18,
  PACKET_PROCEED = 20,
  PACKET_SUCCESS = 22,
  PACKET_FAILURE = 32,
};

enum PACKET_SUBTYPE {
  SUBTYPE_NONE = 1,
  SUBTYPE_ERROR = 2,
  SUBTYPE_CHAT = 3,
  SUBTYPE_GROUPCHAT = 4,
  SUBTYPE_GET = 5,
  SUBTYPE_SET = 6,
  SUBTYPE_RESULT = 7,
  SUBTYPE_SUBSCRIBE = 8,
  SUBTYPE_SUBSCRIBED = 9,
  SUBTYPE_UNSUBSCRIBE = 10,
  SUBTYPE_UNSUBSCRIBED = 11,
  SUBTYPE_AVAILABLE = 12,
  SUBTYPE_UNAVAILABLE = 13,
  SUBTYPE_PROBE = 14,
  SUBTYPE_HEADLINE = 15,
  SUBTYPE_LOCATION = 19,
  SUBTYPE_LOCATION_REQUEST = 20,
  SUBTYPE_URL_DATA = 21,
  SUBTYPE_CAP_ALERT = 22,
  SUBTYPE_GEOLOC = 23,
  SUBTYPE_MUC_PRESENCE = 24,
  SUBTYPE_FEATURES = 25,
  SUBTYPE_COMPRESSED = 26,
  SUBTYPE_MUC_INVITE = 27,
  SUBTYPE_PROCEED = 28,
  SUBTYPE_SUCCESS = 29,
  SUBTYPE_FAILURE = 31,
};

enum {
  NS_NONE = 0,
  NS_AGENTS = 1,
  NS_ROSTER = 2,
  NS_REMOTEIP = 3,
  NS_OOB = 4,
  NS_AUTH = 5,
  NS_PUBSUB = 6,
  NS_DISCO = 7,
  NS_DISCO_ITEMS = 8,
  NS_DISCO_INFO = 9,
  NS_GEOLOC = 10,
  NS_ROUTING = 11,
  NS_MUC_USER = 12,
};

enum { FEATURE_COMPRESSION = 1, FEATURE_STARTTLS = 2, FEATURE_SASL_PLAIN = 4, FEATURE_BIND = 8 };
enum { AUTH_DIGEST = 1, AUTH_PASSWORD = 2 };

struct packet {
  uint8_t type;     // PACKET_*
  int32_t subtype;  // SUBTYPE_*, 0 until computed
  int32_t flag;     // for the receiver's use
  int32_t aux;      // for the receiver's use
  xml_node* x;      // the stanza root
  jid* to;          // null when absent or invalid
  jid* from;        // null when absent or invalid
  char* iq_ns;      // PACKET_IQ: xmlns of the payload child
  xml_node* iq;     // PACKET_IQ: the payload child
  ::pool* pool;     // the stanza's pool
};

// A packet for the complete stanza `node`, in its pool; null for a null node.
packet* packet_new(xml_node* node);
// The subtype, computed on the first call. A presence of type "available" loses that attribute.
int packet_subtype(packet* p);
// A packet made from the first `query` child, else the first `pubsub` child, else `p` itself.
packet* packet_query(packet* p);
// Frees the stanza's pool, and with it the packet.
void packet_free(packet* p);

// Text extractors: pointers into the stanza's pool, or "" when absent. Never null.
const char* packet_from(packet* p);
const char* packet_show(packet* p);
const char* packet_status(packet* p);
const char* packet_body(packet* p);
const char* packet_id(packet* p);
const char* packet_key(packet* p);
const char* packet_host(packet* p);
const char* packet_thread(packet* p);
const char* packet_subject(packet* p);
// NS_* code of the root's xmlns attribute.
int packet_ns_code(packet* p);
// FEATURE_* flags of a stream:features element.
int packet_features(packet* p);
// AUTH_* flags of a jabber:iq:auth answer.
int packet_auth_fields(packet* p);

// A caller buffer: every copy into it is cut to size - 1 bytes (at a UTF-8 character
// boundary) and NUL-terminated. A null text or a size of 0 makes it a place that takes nothing.
struct field_buf {
  char* text;
  size_t size;
};

// Error code (0 when none) and text of an error answer.
void packet_error(packet* p, int32_t* code, field_buf text);
// Type (default "available"), role, affiliation and show of a conference presence. Returns 1.
int packet_muc_presence(packet* p, field_buf type, field_buf role, field_buf affiliation,
                        field_buf show);
// Location pushed in a pubsub event, and the sender named in its addresses.
void packet_geoloc_event(packet* p, field_buf alt, field_buf lon, field_buf lat,
                         field_buf timestamp, field_buf sender);
// Location of a fetched pubsub item, and its owner taken from the "geoloc:" item id.
void packet_geoloc_items(packet* p, field_buf alt, field_buf lon, field_buf lat,
                         field_buf timestamp, field_buf owner);
// The sessionid of the `command` inside the root's first child copied into `out`; null when
// there is none.
char* packet_command_session(packet* p, field_buf out);
