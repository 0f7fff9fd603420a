#!/usr/bin/env bash
# How often an idle, connected orvik wakes up, per thread, and how long its exit takes.
#
# Starts a loopback Prosody (TLS, a throw-away certificate authority) with one account, starts
# build/app/orvik offscreen with a throw-away profile that logs in at start-up, lets it settle,
# then counts each thread's context switches and CPU time over a quiet period. Finally sends
# SIGTERM and reports how long the program took to end.
#
# Usage: bench/idle_wakeups.sh [SECONDS]        (default 60)
# Environment: ORVIK_PROGRAM=FILE (default build/app/orvik), ORVIK_IDLE_STRACE=1 to also write
#              an `strace -f -tt` of the quiet period to $TMPDIR/orvik-idle.strace,
#              ORVIK_IDLE_SETTINGS='"LOCATION SUPPORT"=dword:00000001' (more registry lines for
#              the settings key, one per line), ORVIK_IDLE_DRIVER=1 to measure the engine's
#              command-line driver (build/xmpp/cli/orvik-xmpp) instead of the program.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
program=${ORVIK_PROGRAM:-$top/build/app/orvik}
seconds=${1:-60}
work=$(mktemp -d -t orvik-idle-XXXXXX)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$work/certs" "$work/data/localhost/accounts" "$work/home"
(
  cd "$work/certs"
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -keyout ca.key \
    -out ca.crt -days 2 -subj "/CN=orvik idle CA"
  openssl req -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -keyout localhost.key \
    -out localhost.csr -subj "/CN=localhost"
  echo "subjectAltName=DNS:localhost" > san.ext
  openssl x509 -req -in localhost.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 \
    -extfile san.ext -out localhost.crt
) > "$work/openssl.log" 2>&1
cat > "$work/prosody.cfg.lua" <<CONFIG
run_as_root = true
pidfile = "$work/prosody.pid"
data_path = "$work/data"
certificates = "$work/certs"
interfaces = { "127.0.0.1" }
c2s_ports = { $port }
s2s_ports = { }
component_ports = { }
http_ports = { }
https_ports = { }
modules_enabled = { "roster"; "saslauth"; "tls"; "disco"; "ping" }
modules_disabled = { "s2s"; "offline" }
authentication = "internal_plain"
c2s_require_encryption = true
log = { info = "$work/prosody.log"; error = "$work/prosody.err" }
ssl = { key = "$work/certs/localhost.key"; certificate = "$work/certs/localhost.crt" }
VirtualHost "localhost"
CONFIG
echo 'return { ["password"] = "idle"; };' > "$work/data/localhost/accounts/idle.dat"
prosody --config "$work/prosody.cfg.lua" > "$work/prosody.out" 2>&1 &
pids+=($!)
for _ in $(seq 75); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.2
done

cat > "$work/home/registry.reg" <<REGISTRY
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]
"JABBERTR.SERVER"="localhost:$port"
"JABBERTR.USERNAME"="idle"
"JABBERTR.PASSWORD"="idle"
"LOGIN ON STARTUP"=dword:00000001
"SetupWizard"=dword:00000001
${ORVIK_IDLE_SETTINGS:-}

[HKEY_LOCAL_MACHINE\\Software\\orvik\\TLS]
"CA FILE"="$work/certs/ca.crt"
REGISTRY
chmod 600 "$work/home/registry.reg"

if [[ "${ORVIK_IDLE_DRIVER:-0}" == "1" ]]; then
  ORVIK_HOME=$work/home "${ORVIK_PROGRAM:-$top/build/xmpp/cli/orvik-xmpp}" --server localhost \
    --port "$port" --user idle --password idle --seconds $((seconds + 60)) \
    > "$work/orvik.out" 2>&1 &
else
  ORVIK_HOME=$work/home QT_QPA_PLATFORM=offscreen "$program" > "$work/orvik.out" 2>&1 &
fi
orvik=$!
pids+=($orvik)
for _ in $(seq 100); do
  grep -q "Authenticated" "$work/prosody.log" 2>/dev/null && break
  sleep 0.2
done
grep -q "Authenticated" "$work/prosody.log" || { echo "idle: orvik did not log in" >&2; exit 1; }
sleep 5  # the roster, presence and the first timers settle

# tid name voluntary nonvoluntary cpu-ticks
snapshot() {
  local task
  for task in /proc/"$orvik"/task/*; do
    local tid=${task##*/}
    local name vol nonvol ticks
    name=$(tr ' ' '_' < "$task/comm")
    vol=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status")
    nonvol=$(awk '/^nonvoluntary_ctxt_switches/ {print $2}' "$task/status")
    ticks=$(sed 's/.*) //' "$task/stat" | awk '{print $12 + $13}')
    echo "$tid $name $vol $nonvol $ticks"
  done 2>/dev/null
}
snapshot > "$work/before"
if [[ "${ORVIK_IDLE_STRACE:-0}" == "1" ]]; then
  timeout "$seconds" strace -f -tt -p "$orvik" -o "${TMPDIR:-/tmp}/orvik-idle.strace" || true
else
  sleep "$seconds"
fi
snapshot > "$work/after"

hz=$(getconf CLK_TCK)
echo "orvik idle for ${seconds}s, connected (per thread: context switches, CPU ms)"
printf '%-8s %-16s %10s %10s %8s\n' tid name voluntary involuntary cpu_ms
join <(sort "$work/before") <(sort "$work/after") | awk -v hz="$hz" '
  { v = $7 - $3; n = $8 - $4; c = ($9 - $5) * 1000 / hz; tv += v; tn += n; tc += c
    printf "%-8s %-16s %10d %10d %8d\n", $1, $2, v, n, c }
  END { printf "%-8s %-16s %10d %10d %8d\n", "all", "", tv, tn, tc }'

start=$(date +%s%N)
kill -TERM "$orvik"
wait "$orvik" || true
end=$(date +%s%N)
echo "exit after SIGTERM: $(( (end - start) / 1000000 )) ms"
