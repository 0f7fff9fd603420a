#!/usr/bin/env bash
# scripts/demo as a newcomer runs it: its Prosody starts with TLS and its own CA, the partner
# comes online, orvik logs in with the profile the demo wrote (the partner sees demo@localhost
# come online and greets it), and stopping the demo stops everything and removes its folders.
# Usage: demo_test.sh SOURCE_DIR ORVIK_PROGRAM
set -uo pipefail
source_dir=$1
export ORVIK_PROGRAM=$2
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d -t orvik-demo-test-XXXXXX)
export TMPDIR=$scratch  # the demo's temporary folders go here, where the test can see them
demo=""
stop_demo() {
  [[ -n "$demo" ]] && kill -TERM "$demo" 2>/dev/null && wait "$demo" 2>/dev/null
  rm -rf "$scratch"
}
trap stop_demo EXIT

fail() {
  echo "FAIL: $*"
  echo "--- demo output:"; cat "$scratch/demo.out" 2>/dev/null
  echo "--- partner:"; cat "$scratch"/orvik-demo-server-*/partner.log 2>/dev/null
  exit 1
}

"$source_dir/scripts/demo" --help | grep -q "With a real server" || fail "--help says nothing of real servers"

setsid "$source_dir/scripts/demo" > "$scratch/demo.out" 2>&1 &
demo=$!
greeted=0
for _ in $(seq 150); do
  # The partner's presence event for orvik's login (JSON lines; "from" holds demo@localhost/…).
  if grep -q '"event": "presence", "from": "demo@localhost/[^"]*", "type": "available"' \
      "$scratch"/orvik-demo-server-*/partner.log 2>/dev/null; then
    greeted=1
    break
  fi
  kill -0 "$demo" 2>/dev/null || fail "the demo ended early"
  sleep 0.2
done
[[ $greeted == 1 ]] || fail "orvik did not come online within 30 s"
grep -q "partner@localhost is online" "$scratch/demo.out" || fail "no word of the partner"

kill -TERM "$demo"
wait "$demo"
for _ in $(seq 50); do
  pgrep -f "$scratch" > /dev/null || break
  sleep 0.1
done
pgrep -af "$scratch" && fail "processes of the demo still run"
left=$(find "$scratch" -mindepth 1 -maxdepth 1 -name 'orvik-demo-*')
[[ -z "$left" ]] || fail "folders left behind: $left"
echo "PASS"
