#!/usr/bin/python3
"""A gateway transport for the program's gateway tests: an external component that says it is
an ICQ gateway and records what registers with it.

Usage: gateway_component.py COMPONENT_JID SECRET HOST PORT TYPE SECONDS
Answers service discovery with identity category "gateway" and the given TYPE, answers a
jabber:iq:register get with the form (instructions, username, password, key) and a set with
a result. Prints "ready" once connected, then one line per registration received:
"registered from=<bare jid> username=<username> password=<password> key=<key>".
"""
import logging
import sys

import slixmpp
from slixmpp.xmlstream import ET

REGISTER = "jabber:iq:register"
KEY = "gw-key-1"


class Gateway(slixmpp.ComponentXMPP):
    def __init__(self, jid, secret, host, port, kind, seconds):
        super().__init__(jid, secret, host, int(port))
        self.kind, self.seconds = kind, seconds
        self.register_plugin("xep_0030")
        self["xep_0030"].add_identity(category="gateway", itype=kind, name="Test gateway")
        self["xep_0030"].add_feature(REGISTER)
        self.add_event_handler("session_start", self.start)
        self.register_handler(slixmpp.Callback(
            "register", slixmpp.MatchXPath("{jabber:component:accept}iq/{%s}query" % REGISTER),
            self.on_register))

    def start(self, _):
        print("ready", flush=True)
        self.schedule("end", self.seconds, self.disconnect)

    def on_register(self, iq):
        query = iq.xml.find("{%s}query" % REGISTER)
        if iq["type"] == "get":
            reply = iq.reply()
            form = ET.Element("{%s}query" % REGISTER)
            for name, text in (("instructions", "Enter your account"), ("username", ""),
                               ("password", ""), ("key", KEY)):
                child = ET.SubElement(form, "{%s}%s" % (REGISTER, name))
                child.text = text
            reply.append(form)
            reply.send()
        elif iq["type"] == "set":
            values = {name: (query.findtext("{%s}%s" % (REGISTER, name)) or "")
                      for name in ("username", "password", "key")}
            print("registered from=%s username=%s password=%s key=%s" % (
                iq["from"].bare, values["username"], values["password"], values["key"]),
                flush=True)
            iq.reply().send()


def main():
    logging.basicConfig(level=logging.ERROR)
    jid, secret, host, port, kind, seconds = sys.argv[1:7]
    gateway = Gateway(jid, secret, host, port, kind, float(seconds))
    gateway.connect()
    gateway.loop.run_until_complete(gateway.disconnected)


if __name__ == "__main__":
    main()
