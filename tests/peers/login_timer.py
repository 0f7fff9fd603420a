#!/usr/bin/python3
"""Times slixmpp logging in and fetching its roster, for the login benchmark.

Usage: login_timer.py JID PASSWORD HOST PORT ROUNDS
Prints one line per round: the milliseconds from the connect call to the roster result.
"""
import asyncio
import logging
import sys
import time

import slixmpp


class Timer(slixmpp.ClientXMPP):
    def __init__(self, jid, password):
        super().__init__(jid, password)
        self.add_event_handler("session_start", self.start)
        self.add_event_handler("failed_auth", lambda _: self.disconnect())
        self.started = 0.0
        self.elapsed = None

    async def start(self, _):
        await self.get_roster()
        self.elapsed = (time.perf_counter() - self.started) * 1000.0
        self.disconnect()


def main():
    logging.basicConfig(level=logging.ERROR)
    jid, password, host, port, rounds = sys.argv[1:6]
    for _ in range(int(rounds)):
        client = Timer(jid, password)
        client.register_plugin("xep_0030")
        client.started = time.perf_counter()
        client.connect(address=(host, int(port)), force_starttls=False, disable_starttls=True)
        client.loop.run_until_complete(client.disconnected)
        print("%.3f" % (client.elapsed if client.elapsed is not None else -1), flush=True)


if __name__ == "__main__":
    main()
