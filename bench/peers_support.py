"""Shared by the benchmarks that run orvik beside Profanity: a loopback Prosody of their own,
the real orvik program with a throw-away profile, Profanity in a pseudo-terminal, slixmpp
senders, and what /proc tells about a process. Every process started here is stopped and every
folder removed by close()."""
import json
import os
import pty
import shutil
import signal
import socket
import subprocess
import tempfile
import threading
import time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PEERS = os.path.join(TOP, "tests", "peers")
HOST = "notls.test"  # no TLS on either client, so the figures compare clients, not the cipher
PYTHON = "/usr/bin/python3"  # slixmpp is installed for Debian's interpreter


def free_port():
    with socket.socket() as sock:
        sock.bind(("127.0.0.1", 0))
        return sock.getsockname()[1]


def wait_until(condition, seconds, step=0.05):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(step)
    return condition()


class Processes:
    """Children started in their own process groups, all stopped by close()."""

    def __init__(self):
        self.children = []

    def start(self, argv, log, **kwargs):
        with open(log, "ab") as out:
            child = subprocess.Popen(argv, stdout=out, stderr=subprocess.STDOUT,
                                     stdin=subprocess.DEVNULL, start_new_session=True, **kwargs)
        self.children.append(child)
        return child

    def close(self):
        for child in self.children:
            stop_group(child)
        self.children = []


def stop_group(child, grace=5.0):
    if child.poll() is None:
        try:
            os.killpg(child.pid, signal.SIGTERM)
            child.wait(timeout=grace)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            pass
    try:
        os.killpg(child.pid, signal.SIGKILL)  # helpers left in the group
    except ProcessLookupError:
        pass
    child.wait()


class Prosody:
    """A Prosody 0.12 on a free loopback port serving notls.test (no TLS, plain SASL)."""

    def __init__(self, folder, processes):
        self.dir = os.path.join(folder, "prosody")
        self.processes = processes
        self.port = free_port()
        os.makedirs(os.path.join(self.dir, "data"))
        with open(os.path.join(self.dir, "prosody.cfg.lua"), "w") as config:
            config.write(PROSODY_CONFIG % {"dir": self.dir, "port": self.port})

    def _data_file(self, store, user):
        folder = os.path.join(self.dir, "data", HOST.replace(".", "%2e"), store)
        os.makedirs(folder, exist_ok=True)
        return os.path.join(folder, user + ".dat")

    def add_account(self, user, password="secret"):
        with open(self._data_file("accounts", user), "w") as out:
            out.write('return { ["password"] = "%s"; };\n' % password)

    def set_roster(self, user, count):
        """`user`'s roster: c1@notls.test .. c<count>@notls.test, subscription both."""
        lines = ['return {\n  [false] = { ["version"] = 1; ["pending"] = {}; };\n']
        for i in range(1, count + 1):
            lines.append('  ["c%d@%s"] = { ["subscription"] = "both"; ["name"] = "Contact %d";'
                         ' ["groups"] = { ["Friends"] = true; }; };\n' % (i, HOST, i))
        lines.append("};\n")
        with open(self._data_file("roster", user), "w") as out:
            out.write("".join(lines))

    def start(self):
        self.process = self.processes.start(
            ["prosody", "--config", os.path.join(self.dir, "prosody.cfg.lua")],
            os.path.join(self.dir, "prosody.out"))

        def accepts():
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return True
            except OSError:
                return False

        if not wait_until(accepts, 15):
            raise RuntimeError("Prosody did not start")


PROSODY_CONFIG = """
run_as_root = true
pidfile = "%(dir)s/prosody.pid"
data_path = "%(dir)s/data"
interfaces = { "127.0.0.1" }
c2s_ports = { %(port)d }
s2s_ports = { }
component_ports = { }
http_ports = { }
https_ports = { }
modules_enabled = { "roster"; "saslauth"; "disco"; "ping" }
modules_disabled = { "s2s"; "offline"; "tls" }
authentication = "internal_plain"
c2s_require_encryption = false
allow_unencrypted_plain_auth = true
log = { info = "%(dir)s/prosody.log"; error = "%(dir)s/prosody.err" }
VirtualHost "%(host)s"
""".replace("%(host)s", HOST)


# --- /proc -------------------------------------------------------------------------------

def _stat_fields(path):
    with open(path) as stat:
        return stat.read().rsplit(")", 1)[1].split()


def cpu_ms(pid, tid=None):
    """utime + stime of the process (or one thread) in milliseconds."""
    path = "/proc/%d/stat" % pid if tid is None else "/proc/%d/task/%d/stat" % (pid, tid)
    fields = _stat_fields(path)
    return (int(fields[11]) + int(fields[12])) * 1000.0 / os.sysconf("SC_CLK_TCK")


def status_value(pid, key, tid=None):
    path = "/proc/%d/status" % pid if tid is None else "/proc/%d/task/%d/status" % (pid, tid)
    with open(path) as status:
        for line in status:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def memory_kib(pid):
    """(VmRSS, VmHWM) in KiB."""
    return status_value(pid, "VmRSS"), status_value(pid, "VmHWM")


def threads(pid):
    """{tid: (name, context switches, CPU ms)} for every thread alive now."""
    out = {}
    for entry in os.listdir("/proc/%d/task" % pid):
        tid = int(entry)
        try:
            with open("/proc/%d/task/%d/comm" % (pid, tid)) as comm:
                name = comm.read().strip()
            switches = (status_value(pid, "voluntary_ctxt_switches", tid) +
                        status_value(pid, "nonvoluntary_ctxt_switches", tid))
            out[tid] = (name, switches, cpu_ms(pid, tid))
        except (FileNotFoundError, ProcessLookupError):
            pass  # the thread ended meanwhile
    return out


def thread_delta(before, after):
    """Per thread: (name, switches, CPU ms) between two threads() samples; a thread that
    started meanwhile counts from zero."""
    delta = {}
    for tid, (name, switches, cpu) in after.items():
        _, s0, c0 = before.get(tid, (name, 0, 0.0))
        delta[tid] = (name, switches - s0, cpu - c0)
    return delta


# --- orvik ---------------------------------------------------------------------------------

def write_orvik_profile(home, port, user, password="secret"):
    """An account that logs in at start-up, as the setup wizard leaves it; sounds off."""
    with open(os.path.join(home, "registry.reg"), "w") as registry:
        registry.write("Windows Registry Editor Version 5.00\n\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n"
                       '"JABBERTR.SERVER"="%s@127.0.0.1:%d"\n'
                       '"JABBERTR.USERNAME"="%s"\n'
                       '"JABBERTR.PASSWORD"="%s"\n'
                       '"LOGIN ON STARTUP"=dword:00000001\n'
                       '"SOUND SUPPORT"=dword:00000000\n'
                       '"SetupWizard"=dword:00000001\n' % (HOST, port, user, password))
    os.chmod(os.path.join(home, "registry.reg"), 0o600)


def start_orvik(program, home, processes, log, display=None):
    """The real program, offscreen unless an X display is given."""
    env = dict(os.environ, ORVIK_HOME=home)
    if display is None:
        env["QT_QPA_PLATFORM"] = "offscreen"
    else:
        env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb")
    return processes.start([program], log, env=env)


# --- Profanity -----------------------------------------------------------------------------

class Profanity:
    """Profanity 0.13 in a pseudo-terminal with a profile of its own that connects at start.
    A reader thread drains the terminal (a full pty would stall it) and notes when output
    last came, so a key press can be timed to its repaint."""

    def __init__(self, folder, user, port, password="secret"):
        self.dir = os.path.join(folder, "profanity-" + user)
        self.jid = "%s@%s" % (user, HOST)
        self.config = os.path.join(self.dir, "config")
        self.data = os.path.join(self.dir, "data")
        os.makedirs(os.path.join(self.config, "profanity"))
        os.makedirs(os.path.join(self.data, "profanity"))
        with open(os.path.join(self.data, "profanity", "accounts"), "w") as accounts:
            accounts.write("[%s]\nenabled=true\njid=%s\nserver=127.0.0.1\nport=%d\n"
                           "resource=profanity\npassword=%s\ntls.policy=disable\n"
                           % (self.jid, self.jid, port, password))
        with open(os.path.join(self.config, "profanity", "profrc"), "w") as profrc:
            profrc.write("[logging]\nchlog=true\n[notifications]\nmessage=false\n"
                         "[ui]\nsplash=false\n")
        self.output = bytearray()
        self.output_count = 0
        self.lock = threading.Lock()
        self.pid = None

    def start(self):
        env = dict(os.environ, XDG_CONFIG_HOME=self.config, XDG_DATA_HOME=self.data,
                   TERM="xterm", LINES="50", COLUMNS="160", HOME=self.dir)
        env.pop("DISPLAY", None)
        pid, self.master = pty.fork()
        if pid == 0:
            os.execvpe("profanity", ["profanity", "-a", self.jid, "-l", "INFO"], env)
        self.pid = pid
        self.reader = threading.Thread(target=self._drain, daemon=True)
        self.reader.start()

    def _drain(self):
        while True:
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                return
            if not chunk:
                return
            with self.lock:
                self.output += chunk
                self.output_count += 1
                if len(self.output) > 1 << 20:
                    del self.output[:len(self.output) - (1 << 19)]

    def log(self):
        try:
            with open(os.path.join(self.data, "profanity", "logs", "profanity.log"),
                      errors="replace") as log:
                return log.read()
        except FileNotFoundError:
            return ""

    def wait_connected(self, seconds):
        return wait_until(lambda: "Login success" in self.log() or
                          "logged in successfully" in self.log(), seconds, 0.2)

    def key_to_repaint_ms(self, timeout=120.0):
        """Types one character and waits for the terminal to show anything; then erases it.
        The time to that output, in ms (timeout*1000 when nothing came)."""
        with self.lock:
            seen = self.output_count
        start = time.monotonic()
        os.write(self.master, b"x")
        while time.monotonic() - start < timeout:
            with self.lock:
                if self.output_count != seen:
                    break
            time.sleep(0.001)
        elapsed = (time.monotonic() - start) * 1000.0
        os.write(self.master, b"\x7f")
        return elapsed

    def received(self, marker=" from c"):
        """Incoming messages in Profanity's chat log files: lines holding `marker` (the
        senders' bodies carry it). Its history database is busy while messages arrive."""
        total = 0
        for root, _, files in os.walk(os.path.join(self.data, "profanity", "chatlogs")):
            for name in files:
                with open(os.path.join(root, name), "rb") as log:
                    total += log.read().count(marker.encode())
        return total

    def stop(self):
        if self.pid is None:
            return
        try:
            os.kill(self.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        if not wait_until(lambda: os.waitpid(self.pid, os.WNOHANG)[0] != 0, 5, 0.05):
            os.kill(self.pid, signal.SIGKILL)
            os.waitpid(self.pid, 0)
        os.close(self.master)
        self.pid = None


# --- slixmpp senders -----------------------------------------------------------------------

def run_senders(processes, folder, port, senders, count, to, name="senders"):
    """tests/peers/burst_sender.py: `senders` accounts c1..cN send `count` messages each to
    `to` as fast as they can; returns once every one has sent (the sender's own figures)."""
    log = os.path.join(folder, name + ".log")
    child = processes.start([PYTHON, os.path.join(PEERS, "burst_sender.py"), "127.0.0.1",
                             str(port), to, str(senders), str(count)], log)
    child.wait()
    with open(log) as out:
        for line in out:
            if line.startswith("{"):
                return json.loads(line)
    raise RuntimeError("the senders failed; see " + log)


def temp_folder():
    # On tmpfs when there is one: Profanity writes its history database on every message, and
    # a disk flush per message would measure the disk, not the client.
    base = "/dev/shm" if os.path.isdir("/dev/shm") and os.access("/dev/shm", os.W_OK) else None
    return tempfile.mkdtemp(prefix="orvik-peers-", dir=base)


def remove_folder(folder):
    shutil.rmtree(folder, ignore_errors=True)


def table(title, header, rows):
    widths = [max(len(str(r[i])) for r in [header] + rows) for i in range(len(header))]
    print("\n" + title)
    for row in [header] + rows:
        print("  ".join(str(cell).rjust(widths[i]) if i else str(cell).ljust(widths[i])
                        for i, cell in enumerate(row)))
