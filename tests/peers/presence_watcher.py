#!/usr/bin/python3
"""Prints the presence it receives from one contact, for the program's status tests.

Usage: presence_watcher.py JID PASSWORD HOST PORT WATCHED_BARE_JID SECONDS
Prints "ready" once online, then one line per presence from WATCHED_BARE_JID:
"presence <type> show=<show> status=<status>", and ends after SECONDS.
"""
import asyncio
import logging
import sys

import slixmpp


class Watcher(slixmpp.ClientXMPP):
    def __init__(self, jid, password, watched, seconds):
        super().__init__(jid, password)
        self.watched, self.seconds = watched, seconds
        self.add_event_handler("session_start", self.start)
        self.add_event_handler("presence", self.on_presence)

    async def start(self, _):
        self.send_presence()
        print("ready", flush=True)
        await asyncio.sleep(self.seconds)
        self.disconnect()

    def on_presence(self, presence):
        if presence["from"].bare != self.watched:
            return
        print("presence %s show=%s status=%s" % (presence["type"], presence["show"],
                                                 presence["status"]), flush=True)


def main():
    logging.basicConfig(level=logging.ERROR)
    jid, password, host, port, watched, seconds = sys.argv[1:7]
    client = Watcher(jid, password, watched, float(seconds))
    client.connect(address=(host, int(port)), force_starttls=False, disable_starttls=True)
    client.loop.run_until_complete(client.disconnected)


if __name__ == "__main__":
    main()
