#!/usr/bin/python3
"""Watches an account's roster from a second resource, for the program's contact tests.

Usage: roster_watcher.py JID PASSWORD HOST PORT SECONDS
Prints "ready" with the roster it fetched, then one line per roster push, each item as
"item <jid> name=<name> groups=<g1,g2> subscription=<subscription>", and ends after SECONDS.
"""
import asyncio
import logging
import sys

import slixmpp


class Watcher(slixmpp.ClientXMPP):
    def __init__(self, jid, password, seconds):
        super().__init__(jid, password)
        self.seconds = seconds
        self.add_event_handler("session_start", self.start)
        self.add_event_handler("roster_update", self.on_update)

    def show(self, roster):
        for jid, item in roster["roster"]["items"].items():
            print("item %s name=%s groups=%s subscription=%s" % (
                jid, item["name"], ",".join(sorted(item["groups"])), item["subscription"]),
                flush=True)

    async def start(self, _):
        roster = await self.get_roster()
        self.show(roster)
        print("ready", flush=True)
        await asyncio.sleep(self.seconds)
        self.disconnect()

    def on_update(self, iq):
        self.show(iq)


def main():
    logging.basicConfig(level=logging.ERROR)
    jid, password, host, port, seconds = sys.argv[1:6]
    client = Watcher(jid, password, float(seconds))
    client.connect(address=(host, int(port)), force_starttls=False, disable_starttls=True)
    client.loop.run_until_complete(client.disconnected)


if __name__ == "__main__":
    main()
