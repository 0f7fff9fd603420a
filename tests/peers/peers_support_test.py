#!/usr/bin/python3
"""The harness of the benchmarks beside Profanity (bench/peers_support.py): what it reads from
/proc, and Profanity logged in through it on a real Prosody, counting real messages."""
import ctypes
import os
import shutil
import sys
import threading
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))
import peers_support as ps  # noqa: E402


def name_this_thread(name):
    libc = ctypes.CDLL(None)
    libc.prctl(15, name.encode(), 0, 0, 0)  # PR_SET_NAME


class ProcTest(unittest.TestCase):
    def test_thread_delta_counts_a_new_thread_from_zero_and_drops_an_ended_one(self):
        before = {1: ("main", 100, 50.0), 2: ("gone", 7, 1.0)}
        after = {1: ("main", 160, 80.0), 3: ("new", 9, 4.0)}
        self.assertEqual(ps.thread_delta(before, after),
                         {1: ("main", 60, 30.0), 3: ("new", 9, 4.0)})

    def test_threads_reads_names_that_hold_parentheses_and_blanks(self):
        # /proc/<pid>/stat puts the name in parentheses; "Thread (pooled)" names hold them too.
        ready, done = threading.Event(), threading.Event()

        def worker():
            name_this_thread("odd) name (x")
            ready.set()
            done.wait()

        thread = threading.Thread(target=worker)
        thread.start()
        try:
            ready.wait()
            seen = ps.threads(os.getpid())
            self.assertIn("odd) name (x", [name for name, _, _ in seen.values()])
            self.assertTrue(all(switches >= 0 and cpu >= 0 for _, switches, cpu in seen.values()))
            rss, hwm = ps.memory_kib(os.getpid())
            self.assertGreater(rss, 0)
            self.assertGreaterEqual(hwm, rss)
        finally:
            done.set()
            thread.join()


@unittest.skipIf(shutil.which("profanity") is None, "Profanity is not installed")
class ProfanityTest(unittest.TestCase):
    def setUp(self):
        self.folder = ps.temp_folder()
        self.processes = ps.Processes()
        self.server = ps.Prosody(self.folder, self.processes)
        for user in ("bob", "c1", "c2", "c3"):
            self.server.add_account(user)
        self.server.set_roster("bob", 3)
        self.server.start()
        self.profanity = ps.Profanity(self.folder, "bob", self.server.port)

    def tearDown(self):
        self.profanity.stop()
        self.processes.close()
        ps.remove_folder(self.folder)

    def test_profanity_logs_in_and_every_message_is_counted_once(self):
        self.profanity.start()
        self.assertTrue(self.profanity.wait_connected(60), self.profanity.log()[-2000:])
        self.assertLess(self.profanity.key_to_repaint_ms(timeout=30), 30000)
        self.assertEqual(self.profanity.received(), 0)
        sent = ps.run_senders(self.processes, self.folder, self.server.port, 3, 10,
                              self.profanity.jid)
        self.assertEqual(sent["sent"], 30)
        ps.wait_until(lambda: self.profanity.received() >= 30, 60, 0.2)
        time.sleep(1)  # a count past 30 would show by now
        self.assertEqual(self.profanity.received(), 30)


if __name__ == "__main__":
    unittest.main()
