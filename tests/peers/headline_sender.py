#!/usr/bin/python3
"""Sends prepared stanzas, as a client or as an external component, then leaves.

Usage: headline_sender.py client|component JID PASSWORD_OR_SECRET HOST PORT STANZA_FILE
STANZA_FILE holds one stanza per line, sent as written (a component writes its own 'from').
Prints "sent N" once every stanza has gone, then closes the stream; the process ends when the
stream has closed, so whatever comes next reaches the server after these stanzas.
"""
import logging
import sys

import slixmpp


def stanzas(path):
    with open(path, encoding="utf-8") as lines:
        return [line.strip() for line in lines if line.strip()]


class Sender:
    def start(self, _):
        for stanza in self.stanzas:
            self.send_raw(stanza)
        print("sent %d" % len(self.stanzas), flush=True)
        self.disconnect(wait=2.0)


class Client(Sender, slixmpp.ClientXMPP):
    def __init__(self, jid, password, items):
        slixmpp.ClientXMPP.__init__(self, jid, password)
        self.stanzas = items
        self.add_event_handler("session_start", self.start)


class Component(Sender, slixmpp.ComponentXMPP):
    def __init__(self, jid, secret, host, port, items):
        slixmpp.ComponentXMPP.__init__(self, jid, secret, host, int(port))
        self.stanzas = items
        self.add_event_handler("session_start", self.start)


def main():
    logging.basicConfig(level=logging.ERROR)
    mode, jid, secret, host, port, path = sys.argv[1:7]
    items = stanzas(path)
    if mode == "component":
        peer = Component(jid, secret, host, port, items)
        peer.connect()
    else:
        peer = Client(jid, secret, items)
        peer.connect(address=(host, int(port)), force_starttls=False, disable_starttls=True)
    peer.loop.run_until_complete(peer.disconnected)


if __name__ == "__main__":
    main()
