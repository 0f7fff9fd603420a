#!/usr/bin/python3
"""Sends chat messages at a steady rate, for the soak run's flood.

Usage: chat_flood.py JID PASSWORD HOST PORT TO RATE SECONDS
Sends RATE messages a second for SECONDS seconds, paced by the clock (not by sleeps alone, so
the rate holds however long each send takes); bodies are "flood-<n>" from 1. Prints "ready"
when online and "sent <n>" at the end, then stays a few seconds so its queue drains.
"""
import asyncio
import logging
import sys
import time

import slixmpp


class Flood(slixmpp.ClientXMPP):
    def __init__(self, jid, password, to, rate, seconds):
        super().__init__(jid, password)
        self.to, self.rate, self.seconds = to, rate, seconds
        self.add_event_handler("session_start", self.start)

    async def start(self, _):
        self.send_presence()
        print("ready", flush=True)
        started = time.monotonic()
        total = self.rate * self.seconds
        for n in range(1, total + 1):
            self.send_message(mto=self.to, mbody="flood-%d" % n, mtype="chat")
            delay = started + n / self.rate - time.monotonic()
            if delay > 0:
                await asyncio.sleep(delay)
        print("sent %d" % total, flush=True)
        await asyncio.sleep(5.0)
        self.disconnect()


def main():
    logging.basicConfig(level=logging.ERROR)
    jid, password, host, port, to, rate, seconds = sys.argv[1:8]
    client = Flood(jid, password, to, int(rate), int(seconds))
    client.connect(address=(host, int(port)), force_starttls=False, disable_starttls=True)
    client.loop.run_until_complete(client.disconnected)


if __name__ == "__main__":
    main()
