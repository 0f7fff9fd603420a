#!/usr/bin/python3
"""Sends the program requests and reports every answer, for the dispatcher's tests.

Usage: probe_peer.py JID PASSWORD HOST PORT TARGET_FULL_JID SECONDS ACTION...
Prints "ready" once online, then runs the actions in order:
  geoloc | remoteip | unknown | unknownset | ping | disco   an iq to TARGET_FULL_JID; prints
      "<action> result id=<id>", "<action> error <condition> <type> id=<id>" or
      "<action> timeout" (no answer within 3 seconds)
  rosterpush                       a roster push planting "planted@localhost" (answered like the
      iq requests above)
  locationreq                      a message of type "locationreq" to TARGET_FULL_JID
  result | error                   an iq of that type that answers nothing
  subscribe | subscribed | unsubscribe | unsubscribed    a presence of that type to the target's bare jid
  available | unavailable          a directed presence to TARGET_FULL_JID
  wait                             one second
Every stanza received from the target is printed as "from-target <kind> <type> id=<id>"
(presence, message and iq requests alike) so a test can count all answers. Ends SECONDS after
the last action with "done".
"""
import asyncio
import logging
import sys

import slixmpp
from slixmpp.exceptions import IqError, IqTimeout
from slixmpp.xmlstream import ET
from slixmpp.xmlstream.handler import Callback
from slixmpp.xmlstream.matcher import MatchXPath

IQ_PAYLOADS = {
    "geoloc": ("get", "query", "http://jabber.org/protocol/geoloc"),
    "remoteip": ("get", "query", "jabber:iq:remoteip"),
    "unknown": ("get", "query", "urn:example:unknown"),
    "unknownset": ("set", "query", "urn:example:unknown"),
    "ping": ("get", "ping", "urn:xmpp:ping"),
    "disco": ("get", "query", "http://jabber.org/protocol/disco#info"),
    "rosterpush": ("set", "query", "jabber:iq:roster"),
}


class Probe(slixmpp.ClientXMPP):
    def __init__(self, jid, password, target, seconds, actions):
        super().__init__(jid, password)
        self.target = slixmpp.JID(target)
        self.seconds, self.actions = seconds, actions
        self.add_event_handler("session_start", self.start)
        for kind in ("presence", "message"):
            self.add_event_handler(kind, self.seen)
        # Requests the program sends us are seen too; they are not answered.
        self.register_handler(Callback("target iq", MatchXPath("{jabber:client}iq"),
                                       self.seen_iq))

    def from_target(self, stanza):
        return stanza["from"].bare == self.target.bare

    def seen(self, stanza):
        if self.from_target(stanza):
            print("from-target %s %s id=%s" % (stanza.name, stanza["type"], stanza["id"]),
                  flush=True)

    def seen_iq(self, iq):
        if self.from_target(iq) and iq["type"] in ("get", "set"):
            print("from-target iq %s id=%s" % (iq["type"], iq["id"]), flush=True)

    async def ask(self, action):
        kind, child, ns = IQ_PAYLOADS[action]
        iq = self.make_iq(id=self.new_id(), ito=self.target, itype=kind)
        payload = ET.Element("{%s}%s" % (ns, child))
        if action == "rosterpush":
            ET.SubElement(payload, "{%s}item" % ns, jid="planted@localhost", name="Planted")
        iq.append(payload)
        try:
            answer = await iq.send(timeout=3)
            print("%s result id=%s" % (action, answer["id"]), flush=True)
            if action == "disco":
                print("disco payload %s" % str(answer), flush=True)
        except IqError as e:
            error = e.iq["error"]
            print("%s error %s %s id=%s" % (action, error["condition"], error["type"],
                                            e.iq["id"]), flush=True)
        except IqTimeout:
            print("%s timeout" % action, flush=True)

    async def start(self, _):
        # Subscription presence reaches only an available session.
        self.send_presence()
        print("ready", flush=True)
        for action in self.actions:
            if action in IQ_PAYLOADS:
                await self.ask(action)
            elif action == "locationreq":
                message = self.make_message(mto=self.target)
                message.xml.set("type", "locationreq")
                message.send()
            elif action in ("result", "error"):
                answer = self.make_iq(ito=self.target, itype=action, id="unasked-" + action)
                answer.send()
            elif action in ("subscribe", "subscribed", "unsubscribe", "unsubscribed"):
                self.send_presence(pto=self.target.bare, ptype=action)
            elif action == "available":
                self.send_presence(pto=self.target, pstatus="here & <there>")
            elif action == "away":
                self.send_presence(pto=self.target, pshow="away", pstatus="Out <b>to</b> lunch")
            elif action == "unavailable":
                self.send_presence(pto=self.target, ptype="unavailable")
            elif action == "wait":
                await asyncio.sleep(1)
            print("sent %s" % action, flush=True)
        await asyncio.sleep(self.seconds)
        print("done", flush=True)
        self.disconnect()


def main():
    logging.basicConfig(level=logging.CRITICAL)
    jid, password, host, port, target, seconds = sys.argv[1:7]
    client = Probe(jid, password, target, float(seconds), sys.argv[7:])
    client.connect(address=(host, int(port)), force_starttls=False, disable_starttls=True)
    client.loop.run_until_complete(client.disconnected)


if __name__ == "__main__":
    main()
