#!/usr/bin/python3
"""A location service for the program's location tests: an external component that keeps
positions as publish-subscribe items and answers route queries.

Usage: lbs_component.py COMPONENT_JID SECRET HOST PORT SECONDS [--own JID=LAT,LON,ALT]
                        [--contact JID=LAT,LON,ALT ...]
Prints "ready" once connected, then one JSON line per request received:
  {"publish": node, "from": bare, "lat": .., "lon": .., "alt": .., "timestamp": ..}
  {"items": node, "from": bare}
  {"subscribe": node, "jid": contact, "from": bare}
  {"route": "user" or "address", "src": {...}, "dst": {...}}
Items requests are answered with the stored position of the node's owner (--own, or whatever
was published last). A subscription to a --contact's node is answered, then the contact's
position is pushed to the subscriber as an event. Route queries are answered with three
segments, two of them carrying markup characters in their text.
"""
import argparse
import json
import logging

import slixmpp
from slixmpp.xmlstream import ET

PUBSUB = "http://jabber.org/protocol/pubsub"
EVENT = "http://jabber.org/protocol/pubsub#event"
GEOLOC = "http://jabber.org/protocol/geoloc"
ADDRESS = "http://jabber.org/protocol/address"
ROUTING = "http://tessel.example/protocol/routing"
PLACE = ("jid", "street", "city", "state", "zip", "country")
SEGMENTS = ("Head north on <b>Main St</b> & keep left", "Turn right", "Arrive at <destination>")


def position(text):
    jid, values = text.split("=", 1)
    lat, lon, alt = values.split(",")
    return jid, {"lat": lat, "lon": lon, "alt": alt, "timestamp": "2030-01-01T00:00:00Z"}


def geoloc(values):
    element = ET.Element("{%s}geoloc" % GEOLOC)
    for name in ("alt", "lon", "lat", "timestamp"):
        ET.SubElement(element, "{%s}%s" % (GEOLOC, name)).text = values[name]
    return element


def report(record):
    print(json.dumps(record), flush=True)


class Lbs(slixmpp.ComponentXMPP):
    def __init__(self, args):
        super().__init__(args.jid, args.secret, args.host, int(args.port))
        self.seconds = args.seconds
        self.positions = dict(position(p) for p in args.contact)
        if args.own:
            jid, values = position(args.own)
            self.positions[jid] = values
        self.add_event_handler("session_start", self.start)
        for name, path, handler in (
                ("pubsub", "{jabber:component:accept}iq/{%s}pubsub" % PUBSUB, self.on_pubsub),
                ("route", "{jabber:component:accept}iq/{%s}query" % ROUTING, self.on_route)):
            self.register_handler(slixmpp.Callback(name, slixmpp.MatchXPath(path), handler))

    def start(self, _):
        print("ready", flush=True)
        self.schedule("end", self.seconds, self.disconnect)

    def on_pubsub(self, iq):
        pubsub = iq.xml.find("{%s}pubsub" % PUBSUB)
        sender = iq["from"].bare
        publish = pubsub.find("{%s}publish" % PUBSUB)
        items = pubsub.find("{%s}items" % PUBSUB)
        subscribe = pubsub.find("{%s}subscribe" % PUBSUB)
        if publish is not None:
            self.on_publish(iq, sender, publish)
        elif items is not None:
            self.on_items(iq, sender, items.get("node", ""))
        elif subscribe is not None:
            self.on_subscribe(iq, sender, subscribe)
        else:
            reply = iq.reply()
            reply["type"] = "error"
            reply["error"]["condition"] = "feature-not-implemented"
            reply.send()

    def on_publish(self, iq, sender, publish):
        values = {name: publish.findtext(".//{%s}%s" % (GEOLOC, name)) or ""
                  for name in ("lat", "lon", "alt", "timestamp")}
        report(dict(publish=publish.get("node", ""), **{"from": sender}, **values))
        self.positions[sender] = values
        iq.reply().send()

    def on_items(self, iq, sender, node):
        report({"items": node, "from": sender})
        reply = iq.reply()
        pubsub = ET.Element("{%s}pubsub" % PUBSUB)
        items = ET.SubElement(pubsub, "{%s}items" % PUBSUB, node=node)
        owner = node[len("geoloc:"):]
        if owner in self.positions:
            item = ET.SubElement(items, "{%s}item" % PUBSUB, id=node)
            item.append(geoloc(self.positions[owner]))
        reply.append(pubsub)
        reply.send()

    def on_subscribe(self, iq, sender, subscribe):
        node = subscribe.get("node", "")
        report({"subscribe": node, "jid": subscribe.get("jid", ""), "from": sender})
        iq.reply().send()
        contact = node[len("geoloc:"):]
        if contact in self.positions and contact != sender:
            self.push(iq["from"], node, contact)

    # The position as the service pushes it: an event naming the publisher in its addresses.
    def push(self, to, node, contact):
        message = self.make_message(mto=to)
        event = ET.SubElement(message.xml, "{%s}event" % EVENT)
        items = ET.SubElement(event, "{%s}items" % EVENT, node=node)
        item = ET.SubElement(items, "{%s}item" % EVENT, id=node)
        item.append(geoloc(self.positions[contact]))
        addresses = ET.SubElement(message.xml, "{%s}addresses" % ADDRESS)
        ET.SubElement(addresses, "{%s}address" % ADDRESS, type="replyto", jid=contact)
        message.send()

    def on_route(self, iq):
        query = iq.xml.find("{%s}query" % ROUTING)
        ends = {}
        for end in ("src", "dst"):
            element = query.find("{%s}%s" % (ROUTING, end))
            ends[end] = {k: element.get(k) for k in PLACE if element is not None and element.get(k)}
        form = "user" if all(set(e) == {"jid"} for e in ends.values()) else "address"
        report({"route": form, "src": ends["src"], "dst": ends["dst"]})
        reply = iq.reply()
        answer = ET.Element("{%s}query" % ROUTING)
        for end in ("src", "dst"):
            ET.SubElement(answer, "{%s}%s" % (ROUTING, end), **ends[end])
        for text in SEGMENTS:
            ET.SubElement(answer, "{%s}segment" % ROUTING).text = text
        reply.append(answer)
        reply.send()


def main():
    logging.basicConfig(level=logging.ERROR)
    parser = argparse.ArgumentParser()
    for name in ("jid", "secret", "host", "port"):
        parser.add_argument(name)
    parser.add_argument("seconds", type=float)
    parser.add_argument("--own")
    parser.add_argument("--contact", action="append", default=[])
    lbs = Lbs(parser.parse_args())
    lbs.connect()
    lbs.loop.run_until_complete(lbs.disconnected)


if __name__ == "__main__":
    main()
