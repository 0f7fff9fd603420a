#!/usr/bin/python3
"""Keeps the presences of many contacts changing, for the soak run: an external component that
speaks for COUNT contacts c1@DOMAIN .. cCOUNT@DOMAIN.

Usage: presence_churn.py COMPONENT_JID SECRET HOST PORT TO_FULL_JID COUNT PER_SECOND SECONDS
Every contact first comes online; then PER_SECOND presences a second go out for SECONDS
seconds, contact after contact, cycling through available, away, dnd, unavailable and a new
status text. Prints "ready" once connected and "sent <n>" at the end.
"""
import asyncio
import logging
import sys
import time

import slixmpp

SHOWS = [None, "away", "dnd", "unavailable", "xa"]


class Churn(slixmpp.ComponentXMPP):
    def __init__(self, jid, secret, host, port, to, count, per_second, seconds):
        super().__init__(jid, secret, host, int(port))
        self.to, self.count = to, count
        self.per_second, self.seconds = per_second, seconds
        self.add_event_handler("session_start", self.start)

    def presence(self, contact, step):
        show = SHOWS[step % len(SHOWS)]
        sender = "c%d@%s/churn" % (contact, self.boundjid.bare)
        if show == "unavailable":
            self.make_presence(pto=self.to, pfrom=sender, ptype="unavailable").send()
        else:
            self.make_presence(pto=self.to, pfrom=sender, pshow=show,
                               pstatus="Status %d of contact %d" % (step, contact)).send()

    async def start(self, _):
        print("ready", flush=True)
        for contact in range(1, self.count + 1):
            self.presence(contact, 0)
        started = time.monotonic()
        total = self.per_second * self.seconds
        for n in range(1, total + 1):
            self.presence(n % self.count + 1, n // self.count + 1)
            delay = started + n / self.per_second - time.monotonic()
            if delay > 0:
                await asyncio.sleep(delay)
        print("sent %d" % (total + self.count), flush=True)
        await asyncio.sleep(5.0)
        self.disconnect()


def main():
    logging.basicConfig(level=logging.ERROR)
    jid, secret, host, port, to, count, per_second, seconds = sys.argv[1:9]
    churn = Churn(jid, secret, host, port, to, int(count), int(per_second), int(seconds))
    churn.connect()
    churn.loop.run_until_complete(churn.disconnected)


if __name__ == "__main__":
    main()
