#!/usr/bin/python3
"""Sends a flood of available presences to one client, for the presence benchmark: an external
component that speaks for COUNT contacts c1@DOMAIN .. cCOUNT@DOMAIN.

Usage: presence_flood.py COMPONENT_JID SECRET HOST PORT TO_FULL_JID COUNT
Once connected it sends COUNT presences (show "away" for every tenth contact, a status text
for each), prints "sent <COUNT> <seconds>" and stays connected for 20 seconds, so that its
send queue drains whatever the receiver's pace.
"""
import asyncio
import logging
import sys
import time

import slixmpp


class Flood(slixmpp.ComponentXMPP):
    def __init__(self, jid, secret, host, port, to, count):
        super().__init__(jid, secret, host, int(port))
        self.to, self.count = to, count
        self.add_event_handler("session_start", self.start)

    async def start(self, _):
        started = time.perf_counter()
        domain = self.boundjid.bare
        for i in range(1, self.count + 1):
            presence = self.make_presence(pto=self.to, pfrom="c%d@%s/flood" % (i, domain),
                                          pstatus="Status of contact %d" % i,
                                          pshow="away" if i % 10 == 0 else None)
            presence.send()
            if i % 500 == 0:
                await asyncio.sleep(0)
        print("sent %d %.3f" % (self.count, time.perf_counter() - started), flush=True)
        await asyncio.sleep(20.0)
        self.disconnect()


def main():
    logging.basicConfig(level=logging.ERROR)
    jid, secret, host, port, to, count = sys.argv[1:7]
    flood = Flood(jid, secret, host, port, to, int(count))
    flood.connect()
    flood.loop.run_until_complete(flood.disconnected)


if __name__ == "__main__":
    main()
