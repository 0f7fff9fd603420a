// Namespace URIs and fixed protocol texts shared by the packet classifier and the builders.
#pragma once

#define NS_URI_STREAMS "http://etherx.jabber.org/streams"
#define NS_URI_CLIENT "jabber:client"
#define NS_URI_AGENTS "jabber:iq:agents"
#define NS_URI_ROSTER "jabber:iq:roster"
#define NS_URI_REMOTEIP "jabber:iq:remoteip"
#define NS_URI_OOB "jabber:x:oob"
#define NS_URI_AUTH "jabber:iq:auth"
#define NS_URI_REGISTER "jabber:iq:register"
#define NS_URI_ILOCATION "jabber:iq:ilocation"
#define NS_URI_DATA "jabber:x:data"
#define NS_URI_PUBSUB "http://jabber.org/protocol/pubsub"
#define NS_URI_PUBSUB_EVENT "http://jabber.org/protocol/pubsub#event"
#define NS_URI_PUBSUB_OWNER "http://jabber.org/protocol/pubsub#owner"
#define NS_URI_DISCO "http://jabber.org/protocol/disco"
#define NS_URI_DISCO_ITEMS "http://jabber.org/protocol/disco#items"
#define NS_URI_DISCO_INFO "http://jabber.org/protocol/disco#info"
#define NS_URI_GEOLOC "http://jabber.org/protocol/geoloc"
#define NS_URI_MUC "http://jabber.org/protocol/muc"
#define NS_URI_MUC_USER "http://jabber.org/protocol/muc#user"
#define NS_URI_COMMANDS "http://jabber.org/protocol/commands"
#define NS_URI_CAPS "http://jabber.org/protocol/caps"
#define NS_URI_COMPRESS "http://jabber.org/protocol/compress"
#define NS_URI_CAP_ALERT "http://www.incident.com/cap/1.0"
#define NS_URI_TLS "urn:ietf:params:xml:ns:xmpp-tls"
#define NS_URI_SASL "urn:ietf:params:xml:ns:xmpp-sasl"
#define NS_URI_BIND "urn:ietf:params:xml:ns:xmpp-bind"
#define NS_URI_SESSION "urn:ietf:params:xml:ns:xmpp-session"
#define NS_URI_STANZAS "urn:ietf:params:xml:ns:xmpp-stanzas"
#define NS_URI_PING "urn:xmpp:ping"

// The maker's own route service namespace. Peers answering route queries must use this value.
#define NS_URI_ROUTING "http://tessel.example/protocol/routing"
// The node the own presence announces in its client-capabilities element. Servers and peers
// only compare it; it is configured here to the value the deployment expects.
#define CLIENT_CAPS_NODE "http://tessel.example/caps"
#define CLIENT_CAPS_VER "1.0.0.66"
#define CLIENT_CAPS_EXT "voice-v1"
// FORM_TYPE of the dial command of the collaboration service (40 characters).
#define NS_URI_COLLAB_DIAL "http://tessel.example/protocol/collab#v1"
