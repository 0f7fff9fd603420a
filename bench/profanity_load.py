#!/usr/bin/python3
"""Profanity under a load of incoming messages, for the benchmarks that compare it with orvik
on the same Prosody.

Usage: bench/profanity_load.py PORT USER SENDERS COUNT [TIMEOUT_SECONDS]

Profanity logs in as USER@notls.test (password "secret") on the Prosody at 127.0.0.1:PORT;
then the accounts c1 .. c<SENDERS> send COUNT messages each (tests/peers/burst_sender.py), as
fast as slixmpp sends. Meanwhile a key is typed into Profanity's terminal every 100 ms and the
time to the terminal's next output is taken: the longest such wait is how long it stalled.
The load ends when all messages are in Profanity's chat log, or when the senders are done and
the count has not grown for 5 s while Profanity answers keys at once (so a stalled Profanity
is waited for), or after TIMEOUT_SECONDS (default 300). Printed, one "name value" a line:
  login_s, login_stall_ms        login time, the longest key wait in the 5 s after login
  rss_login_kib, hwm_login_kib   memory once logged in
  rss_after_kib, hwm_after_kib   memory after the messages
  sent, received                 messages sent, and found in Profanity's history
  receive_s, burst_stall_ms      the first send to the last message seen; the longest key wait
"""
import json
import os
import sys
import time

import peers_support as ps

PROBE_EVERY = 0.1
QUIET_SECONDS = 5.0


class Prober:
    """Key presses into the terminal, and the longest wait for a repaint so far."""

    def __init__(self, profanity):
        self.profanity = profanity
        self.longest = 0.0
        self.last = 0.0
        self.next = 0.0

    def tick(self):
        if time.monotonic() < self.next:
            return
        self.last = self.profanity.key_to_repaint_ms()
        self.longest = max(self.longest, self.last)
        self.next = time.monotonic() + PROBE_EVERY


def login(profanity):
    started = time.monotonic()
    profanity.start()
    if not profanity.wait_connected(180):
        sys.exit("profanity_load: Profanity did not log in")
    login_s = time.monotonic() - started
    prober = Prober(profanity)
    settle = time.monotonic() + QUIET_SECONDS
    while time.monotonic() < settle:
        prober.tick()
        time.sleep(0.01)
    return login_s, prober.longest


def load(profanity, port, senders, count, timeout):
    processes = ps.Processes()
    log = os.path.join(profanity.dir, "senders.log")
    started = time.monotonic()
    child = processes.start([ps.PYTHON, os.path.join(ps.PEERS, "burst_sender.py"), "127.0.0.1",
                             str(port), profanity.jid, str(senders), str(count)], log)
    prober = Prober(profanity)
    expected = senders * count
    received, last_change, last_seen = 0, time.monotonic(), started
    try:
        while time.monotonic() - started < timeout:
            prober.tick()
            now = profanity.received()
            if now is not None and now != received:
                received, last_change, last_seen = now, time.monotonic(), time.monotonic()
            if received >= expected or (child.poll() is not None and prober.last < 200 and
                                        time.monotonic() - last_change > QUIET_SECONDS):
                break  # all there, or nothing new for a while from a Profanity that answers keys
            time.sleep(0.05)
    finally:
        processes.close()
    with open(log) as out:
        reports = [json.loads(line) for line in out if line.startswith("{")]
    sent = reports[0]["sent"] if reports else 0  # none: the senders failed or were cut off
    return {"sent": sent, "received": received, "receive_s": last_seen - started,
            "burst_stall_ms": prober.longest}


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    port, user, senders, count = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    timeout = float(sys.argv[5]) if len(sys.argv) > 5 else 300.0
    folder = ps.temp_folder()
    profanity = ps.Profanity(folder, user, port)
    try:
        login_s, login_stall = login(profanity)
        rss, hwm = ps.memory_kib(profanity.pid)
        figures = {"login_s": login_s, "login_stall_ms": login_stall, "rss_login_kib": rss,
                   "hwm_login_kib": hwm}
        figures.update(load(profanity, port, senders, count, timeout))
        figures["rss_after_kib"], figures["hwm_after_kib"] = ps.memory_kib(profanity.pid)
    finally:
        profanity.stop()
        ps.remove_folder(folder)
    for name, value in figures.items():
        print("%s %s" % (name, value), flush=True)


if __name__ == "__main__":
    main()
