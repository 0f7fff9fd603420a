#!/usr/bin/python3
"""Sends chat messages whose body is the send time, for the latency benchmark.

Usage: chat_sender.py JID PASSWORD HOST PORT TO COUNT INTERVAL_MS
Each body is "t=<CLOCK_REALTIME nanoseconds>" taken just before the message is sent.
"""
import asyncio
import logging
import sys
import time

import slixmpp


class Sender(slixmpp.ClientXMPP):
    def __init__(self, jid, password, to, count, interval):
        super().__init__(jid, password)
        self.to, self.count, self.interval = to, count, interval
        self.add_event_handler("session_start", self.start)

    async def start(self, _):
        self.send_presence()
        await asyncio.sleep(0.5)
        for _ in range(self.count):
            self.send_message(mto=self.to, mbody="t=%d" % time.time_ns(), mtype="chat")
            await asyncio.sleep(self.interval)
        await asyncio.sleep(1.0)
        self.disconnect()


def main():
    logging.basicConfig(level=logging.ERROR)
    jid, password, host, port, to, count, interval_ms = sys.argv[1:8]
    client = Sender(jid, password, to, int(count), int(interval_ms) / 1000.0)
    client.connect(address=(host, int(port)), force_starttls=False, disable_starttls=True)
    client.loop.run_until_complete(client.disconnected)


if __name__ == "__main__":
    main()
