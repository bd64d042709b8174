#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Both programs' command lines, and mnemora-xp's requests to its running instance, on the display
# xsession.sh made: --recover while the program runs from the tray, the instance's socket under
# garbage, a huge request and a client that never speaks, --recover with nothing running.
# Usage: CommandLineTest.sh MNEMORA_XP MNEMORA_RECOVER
set -u
app=$1
recover=$2
source "$(dirname "$0")/common.sh"
OpenRun

# Without a display: the text a user asked for, and statuses a script can rely on.
check "mnemora-xp --version says 4.0.0" test "$(env -u DISPLAY "$app" --version)" = "mnemora-xp 4.0.0"
check "mnemora-recover --version says 4.0.0" test "$("$recover" --version)" = "mnemora-recover 4.0.0"
check "mnemora-xp --help names --recover and --show" eval 'env -u DISPLAY "$app" --help | grep -q -- --recover &&
  env -u DISPLAY "$app" --help | grep -q -- --show'
env -u DISPLAY "$app" --no-such-option 2>/dev/null
check "an unknown option ends with status 2" test $? = 2

installedMb=$(awk '/^MemTotal:/ { print int($2 / 1024 + 0.5) }' /proc/meminfo)
runMb=$((installedMb / 2 > 1024 ? 1024 : installedMb / 2))

"$app" &
first=$!
started+=("$first")
waitFor 10 windowShown
check "the program goes to the tray" waitFor 10 not windowShown
waitFor 10 oneTrayIcon
before=$(peakMb "$first")
ranARecovery() { [ $(($(peakMb "$first") - before)) -ge $((runMb * 9 / 10)) ]; }
timeout 40 "$app" --recover
check "mnemora-xp --recover hands its request over and ends with status 0" test $? = 0
check "the running program runs one recovery of about ${runMb} MB" waitFor 30 ranARecovery
check "and stays in the tray" not windowShown

# Thirty clients that send garbage or far too much, and one that never sends a word.
socket=$XDG_RUNTIME_DIR/mnemora-xp.instance
python3 - "$socket" <<'PY' &
import os, socket, sys, time
silent = socket.socket(socket.AF_UNIX)
silent.connect(sys.argv[1])
for index in range(30):
    client = socket.socket(socket.AF_UNIX)
    try:
        client.connect(sys.argv[1])
        payload = os.urandom(64) if index % 3 == 0 else b"x" * (1 << 20) if index % 3 == 1 else b"mnemora-xp 1"
        client.settimeout(5)
        client.sendall(payload)
    except OSError:
        pass
    finally:
        client.close()
time.sleep(30)
PY
pests=$!
started+=("$pests")
timeout 40 "$app" --show
check "after 30 garbage clients and a silent one, the instance still answers" test $? = 0
check "and shows its window" waitFor 10 windowShown
check "the program survived them" running "$first"
kill "$pests" 2>/dev/null
kill -TERM "$first"
waitFor 15 not running "$first"

# Nothing running: --recover starts the program, which then runs a recovery.
"$app" --recover &
second=$!
started+=("$second")
ranAtStart() { [ "$(peakMb "$second" 2>/dev/null || echo 0)" -ge $((runMb * 9 / 10)) ]; }
check "with nothing running, mnemora-xp --recover starts the program and runs a recovery" waitFor 40 ranAtStart
kill -TERM "$second"
check "which ends on SIGTERM" waitFor 15 not running "$second"
Summary
