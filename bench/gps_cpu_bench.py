#!/usr/bin/python3
"""The CPU the real program uses with a GPS receiver attached.

Usage: bench/gps_cpu_bench.py PROGRAM [SECONDS]   (PROGRAM: build/app/orvik; SECONDS: 60)

A pseudo-terminal stands in for the receiver on COM4:. The program runs offscreen with a
throw-away profile (location support and the receiver on, no account, so nothing else runs),
first SECONDS idle, then SECONDS with the burst a receiver sends every second (GGA, GSA and
three GSV sentences). Printed: the program's CPU time in each phase as a share of one core.
"""
import os
import select
import signal
import subprocess
import sys
import tempfile
import time


def nmea(body):
    checksum = 0
    for c in body.encode():
        checksum ^= c
    return "$%s*%02X\r\n" % (body, checksum)


def burst(second):
    stamp = time.strftime("%H%M%S", time.gmtime(second))
    sentences = [nmea("GPGGA,%s,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,," % stamp),
                 nmea("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1")]
    for part in range(1, 4):
        sentences.append(nmea("GPGSV,3,%d,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00"
                              % part))
    return "".join(sentences).encode()


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks  # utime + stime


def drain(master):
    while select.select([master], [], [], 0)[0]:
        try:
            if not os.read(master, 4096):
                return
        except OSError:
            return


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    program = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60.0
    master, slave = os.openpty()
    device = os.ttyname(slave)
    with tempfile.TemporaryDirectory() as home:
        with open(os.path.join(home, "registry.reg"), "w") as registry:
            registry.write("Windows Registry Editor Version 5.00\n\n"
                           "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n"
                           "\"LOCATION SUPPORT\"=dword:00000001\n"
                           "\"ENABLE GPS\"=dword:00000001\n"
                           "\"GPS PORT\"=\"COM4:\"\n"
                           "\"SetupWizard\"=dword:00000001\n\n"
                           "[HKEY_LOCAL_MACHINE\\Software\\orvik\\Serial]\n"
                           "\"COM4:\"=\"%s\"\n" % device)
        environment = dict(os.environ, ORVIK_HOME=home, QT_QPA_PLATFORM="offscreen")
        child = subprocess.Popen([program], env=environment, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        try:
            setup = b""
            deadline = time.time() + 20
            while len(setup) < 32 and time.time() < deadline:
                if select.select([master], [], [], 0.2)[0]:
                    setup += os.read(master, 64)
            if len(setup) < 32:
                sys.exit("gps_cpu_bench: the program did not open the receiver")
            time.sleep(3)  # start-up settles
            start = cpu_seconds(child.pid)
            time.sleep(seconds)
            idle = cpu_seconds(child.pid) - start
            start = cpu_seconds(child.pid)
            began = time.time()
            for second in range(int(seconds)):
                os.write(master, burst(began + second))
                drain(master)
                time.sleep(max(0.0, began + second + 1 - time.time()))
            busy = cpu_seconds(child.pid) - start
        finally:
            child.send_signal(signal.SIGTERM)
            child.wait(timeout=20)
    print("gps_cpu_bench: %.0f s idle: %.2f %% of one core (%.2f s CPU)"
          % (seconds, 100 * idle / seconds, idle))
    print("gps_cpu_bench: %.0f s with a receiver burst a second: %.2f %% of one core (%.2f s CPU)"
          % (seconds, 100 * busy / seconds, busy))
    print("gps_cpu_bench: the receiver's share: %.2f %% of one core"
          % (100 * (busy - idle) / seconds))


if __name__ == "__main__":
    main()
