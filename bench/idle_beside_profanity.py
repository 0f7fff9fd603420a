#!/usr/bin/python3
"""Idle wake-ups and CPU of orvik beside Profanity, and orvik's exit time.

Usage: bench/idle_beside_profanity.py PROGRAM [--seconds 60] [--roster 100] [--no-close]
  (PROGRAM: build/app/orvik)

One Prosody on loopback; orvik (offscreen, LOGIN ON STARTUP) logged in as alice and Profanity
(in a pseudo-terminal, connecting at start) as bob, each with a roster of --roster contacts.
Once both are online and settled, both sit idle for --seconds: printed are the context
switches of all threads (voluntary + nonvoluntary, from /proc/<pid>/task/*/status) as wake-ups
per minute and the CPU time (utime + stime), per thread for orvik, and the ratios.
Then orvik's exit time, from the quit asked to the process gone: by SIGTERM (which the program
handles as Exit), and by closing its window (a second run on a private X server, Xvfb, whose
main window gets the window manager's close request) unless --no-close.
"""
import argparse
import ctypes
import os
import signal
import subprocess
import sys
import time

import peers_support as ps

SETTLE_SECONDS = 5


def parse():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("program")
    parser.add_argument("--seconds", type=float, default=60.0)
    parser.add_argument("--roster", type=int, default=100)
    parser.add_argument("--no-close", action="store_true")
    return parser.parse_args()


def orvik_online(server, user):
    return ps.wait_until(lambda: ("Authenticated as %s@%s" % (user, ps.HOST)) in server_log(server),
                         30, 0.1)


def server_log(server):
    try:
        with open(os.path.join(server.dir, "prosody.log"), errors="replace") as log:
            return log.read()
    except FileNotFoundError:
        return ""


def exit_ms(child, ask):
    """Runs `ask`, then waits for the process to be gone; the time in ms (None: not in 30 s)."""
    start = time.monotonic()
    ask()
    try:
        child.wait(timeout=30)
    except subprocess.TimeoutExpired:
        return None
    return (time.monotonic() - start) * 1000.0


def idle(args, folder, processes, server):
    home = os.path.join(folder, "orvik-idle")
    os.makedirs(home)
    ps.write_orvik_profile(home, server.port, "alice")
    orvik = ps.start_orvik(args.program, home, processes, os.path.join(folder, "orvik.log"))
    profanity = ps.Profanity(folder, "bob", server.port)
    profanity.start()
    try:
        if not orvik_online(server, "alice"):
            sys.exit("idle_beside_profanity: orvik did not log in")
        if not profanity.wait_connected(30):
            sys.exit("idle_beside_profanity: Profanity did not log in")
        time.sleep(SETTLE_SECONDS)
        before = ps.threads(orvik.pid), ps.threads(profanity.pid)
        time.sleep(args.seconds)
        after = ps.threads(orvik.pid), ps.threads(profanity.pid)
        report_idle(args.seconds, ps.thread_delta(before[0], after[0]),
                    ps.thread_delta(before[1], after[1]))
        sigterm = exit_ms(orvik, lambda: os.kill(orvik.pid, signal.SIGTERM))
        profanity_exit = time.monotonic()
        profanity.stop()
        profanity_ms = (time.monotonic() - profanity_exit) * 1000.0
    finally:
        profanity.stop()
    return sigterm, profanity_ms


def report_idle(seconds, orvik, profanity):
    per_minute = 60.0 / seconds
    rows = []
    for tid, (name, switches, cpu) in sorted(orvik.items()):
        rows.append([name, tid, "%.1f" % (switches * per_minute), "%.1f" % cpu])
    ps.table("orvik threads over %.0f s idle" % seconds,
             ["thread", "tid", "wake-ups/min", "CPU ms"], rows)
    totals = []
    for label, figures in (("orvik", orvik), ("Profanity", profanity)):
        switches = sum(f[1] for f in figures.values())
        cpu = sum(f[2] for f in figures.values())
        totals.append((label, switches * per_minute, cpu, len(figures)))
    rows = [[t[0], t[3], "%.1f" % t[1], "%.1f" % t[2]] for t in totals]
    rows.append(["ratio orvik/Profanity", "", ratio(totals[0][1], totals[1][1]),
                 ratio(totals[0][2], totals[1][2])])
    ps.table("idle %.0f s, both connected" % seconds,
             ["client", "threads", "wake-ups/min", "CPU ms"], rows)


def ratio(a, b):
    return "%.2f" % (a / b) if b else "n/a (Profanity: 0)"


# --- closing the window on a private X server -------------------------------------------------

class XClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessage), ("pad", ctypes.c_long * 24)]


def send_close(display_name, window):
    """The window manager's close request (WM_DELETE_WINDOW) to `window`."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(display_name.encode())
    if not display:
        raise RuntimeError("cannot open " + display_name)
    event = XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


def main_window(display, pid):
    """The program's visible top-level window, found by its process id."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                           env=dict(os.environ, DISPLAY=display), capture_output=True, text=True)
    windows = [int(w) for w in found.stdout.split()]
    return windows[0] if windows else None


def close_exit(args, folder, processes, server):
    display = ":%d" % (90 + os.getpid() % 400)
    xvfb = processes.start(["Xvfb", display, "-nolisten", "tcp", "-screen", "0", "800x600x24"],
                           os.path.join(folder, "xvfb.log"))
    socket_path = "/tmp/.X11-unix/X" + display[1:]
    if not ps.wait_until(lambda: os.path.exists(socket_path), 10):
        return None
    home = os.path.join(folder, "orvik-close")
    os.makedirs(home)
    ps.write_orvik_profile(home, server.port, "carol")
    orvik = ps.start_orvik(args.program, home, processes, os.path.join(folder, "orvik-x.log"),
                           display=display)
    if not orvik_online(server, "carol"):
        return None
    window = None
    ps.wait_until(lambda: main_window(display, orvik.pid) is not None, 10, 0.2)
    window = main_window(display, orvik.pid)
    if window is None:
        return None
    time.sleep(SETTLE_SECONDS)
    result = exit_ms(orvik, lambda: send_close(display, window))
    ps.stop_group(xvfb)
    return result


def main():
    args = parse()
    folder = ps.temp_folder()
    processes = ps.Processes()
    try:
        server = ps.Prosody(folder, processes)
        for user in ("alice", "bob", "carol"):
            server.add_account(user)
            server.set_roster(user, args.roster)
        server.start()
        sigterm, profanity_ms = idle(args, folder, processes, server)
        close = None if args.no_close else close_exit(args, folder, processes, server)
    finally:
        processes.close()
        ps.remove_folder(folder)
    shown = lambda ms: "%.1f" % ms if ms is not None else "did not exit in 30 s"
    ps.table("exit time (quit asked -> process gone)", ["how", "ms"],
             [["orvik, SIGTERM", shown(sigterm)],
              ["orvik, window close", "not run" if args.no_close else shown(close)],
              ["Profanity, SIGTERM", shown(profanity_ms)]])


if __name__ == "__main__":
    main()
