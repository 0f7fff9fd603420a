#!/usr/bin/python3
"""Many senders, each sending chat messages as fast as slixmpp can, for the benchmarks that
load a client with conversations.

Usage: burst_sender.py HOST PORT TO SENDERS COUNT
The accounts c1@<domain of TO> .. c<SENDERS> (password "secret") connect in one process, each
sends COUNT messages "<n> of <COUNT> from c<i>" to TO, then pings its server: the answer comes
after the server has handled every message before it. Prints one JSON line:
{"senders": S, "sent": total, "seconds": from the first send to the last answer}.
"""
import asyncio
import json
import logging
import sys
import time

import slixmpp


class Sender(slixmpp.ClientXMPP):
    def __init__(self, jid, to, count):
        super().__init__(jid, "secret")
        self.to, self.count, self.sent = to, count, 0
        self.register_plugin("xep_0199")
        self.online = asyncio.Event()
        self.add_event_handler("session_start", lambda _: self.online.set())

    async def burst(self):
        for n in range(1, self.count + 1):
            self.send_message(mto=self.to, mbody="%d of %d from %s" % (n, self.count,
                                                                       self.boundjid.user),
                              mtype="chat")
            self.sent += 1
            if n % 200 == 0:
                await asyncio.sleep(0)  # let the output drain instead of queuing everything
        await self["xep_0199"].ping(self.boundjid.domain, timeout=300)


async def run(host, port, to, senders, count):
    domain = to.split("@", 1)[1]
    clients = [Sender("c%d@%s" % (i, domain), to, count) for i in range(1, senders + 1)]
    for client in clients:
        client.connect(address=(host, port), force_starttls=False, disable_starttls=True)
    await asyncio.wait_for(asyncio.gather(*(c.online.wait() for c in clients)), 120)
    started = time.monotonic()
    await asyncio.gather(*(c.burst() for c in clients))
    seconds = time.monotonic() - started
    for client in clients:
        client.disconnect()
    await asyncio.gather(*(c.disconnected for c in clients))
    return {"senders": senders, "sent": sum(c.sent for c in clients), "seconds": seconds}


def main():
    logging.basicConfig(level=logging.ERROR)
    host, port, to, senders, count = sys.argv[1:6]
    loop = asyncio.get_event_loop()
    result = loop.run_until_complete(run(host, int(port), to, int(senders), int(count)))
    print(json.dumps(result), flush=True)


if __name__ == "__main__":
    main()
