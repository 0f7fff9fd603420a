#!/usr/bin/env bash
# Installs the program into a temporary prefix and checks what the desktop and the program
# rely on: a valid desktop entry that handles xmpp: links, its program and icon in place, the
# data files where the program looks for them, and the installed program starting from there
# (and taking a clicked link over to the running copy).
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d /tmp/orvik-install-XXXXXX)
running=""
cleanup() {
  if [[ -n "$running" ]]; then kill -KILL "$running" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "install test: $*" >&2
  exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

# The desktop entry.
entry=$prefix/share/applications/org.orvik.Messenger.desktop
[[ -f "$entry" ]] || fail "no desktop entry at $entry"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
grep -qx 'MimeType=x-scheme-handler/xmpp;' "$entry" || fail "the entry does not handle xmpp: links"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[[ "$exec_line" == "orvik %u" ]] || fail "Exec is '$exec_line', not 'orvik %u'"
[[ -x "$prefix/bin/orvik" ]] || fail "no program at $prefix/bin/orvik"

# The icon at every size, each PNG as large as its folder says.
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
  [[ -f "$png" ]] || fail "no icon at $png"
  dimensions=$(/usr/bin/python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8]==b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$png")
  [[ "$dimensions" == "${size}x${size}" ]] || fail "$png is $dimensions"
done
[[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ]] || fail "no scalable icon"

# The data files, where the program looks for them: <bin>/../share/orvik.
for file in help.html RididEdazov.xml sounds/orvikenter.wav sounds/orvikexit.wav \
  sounds/orvikmessage.wav; do
  cmp -s "$source/resources/$file" "$prefix/bin/../share/orvik/$file" ||
    fail "share/orvik/$file is missing or differs from resources/$file"
done

# The installed program runs from the prefix.
version=$("$prefix/bin/orvik" --version)
[[ "$version" == "orvik Messenger "* ]] || fail "--version printed '$version'"

# A start with a fresh profile (setup already done), then a clicked link: the second start
# hands the address to the first and ends; a second copy that kept running would time out.
home=$work/home
mkdir -p "$home"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\tessel Software\\Chirrup]\n"SetupWizard"=dword:00000001\n\n' \
  >"$home/registry.reg"
chmod 600 "$home/registry.reg"
export ORVIK_HOME=$home QT_QPA_PLATFORM=offscreen
"$prefix/bin/orvik" >"$work/first.out" 2>&1 &
running=$!
# True once the program listens for hand-overs (a listening abstract socket of its own).
listening() {
  local inodes
  inodes=$(ls -l "/proc/$running/fd" 2>/dev/null | sed -n 's/.*socket:\[\([0-9]*\)\].*/\1/p')
  for inode in $inodes; do
    awk -v inode="$inode" '$4 == "00010000" && $7 == inode && $8 ~ /^@/ { found = 1 }
      END { exit !found }' /proc/net/unix && return 0
  done
  return 1
}
for _ in $(seq 150); do
  listening && break
  kill -0 "$running" 2>/dev/null || fail "the installed program ended: $(cat "$work/first.out")"
  sleep 0.2
done
listening || fail "the installed program never listened for hand-overs"
timeout 20 "$prefix/bin/orvik" xmpp:anna@example.org >"$work/second.out" 2>&1 ||
  fail "the clicked link was not handed over: $(cat "$work/second.out")"
kill -0 "$running" 2>/dev/null || fail "the first copy ended: $(cat "$work/first.out")"
kill -TERM "$running"
status=0
wait "$running" || status=$?
running=""
[[ "$status" == 0 ]] || fail "the program ended with $status on SIGTERM: $(cat "$work/first.out")"
echo "install test: passed"
