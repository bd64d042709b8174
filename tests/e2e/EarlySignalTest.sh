#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The session's end during start-up, on the display xsession.sh made: SIGTERM or SIGHUP that
# comes while the start-up's error box is shown ends the program in order (box gone, settings
# saved, status 0) instead of being lost.
# Usage: EarlySignalTest.sh MNEMORA_XP
set -u
app=$1
source "$(dirname "$0")/common.sh"
IsolateHome
started=()
trap 'kill -KILL "${started[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$home"' EXIT

hive=$XDG_CONFIG_HOME/mnemora-xp/user-hive.sqlite3
# The hive's stored values by name, or the removal of one, through SQLite itself.
hiveSql() { python3 -c 'import sqlite3, sys; c = sqlite3.connect(sys.argv[1]); r = c.execute(sys.argv[2]).fetchall(); c.commit(); print(*[x[0] for x in r])' "$hive" "$1"; }
opacityStored() { [ "$(hiveSql "SELECT count(*) FROM key_values WHERE folded = 'opacite'")" = 1 ]; }

# A first run saves a whole set of settings.
"$app" &
first=$!
started+=("$first")
waitFor 10 windowShown
kill -TERM "$first"
check "a first run ends on SIGTERM" waitFor 15 not running "$first"
check "and saves \"Opacite\"" opacityStored

for signal in TERM HUP; do
  hiveSql "DELETE FROM key_values WHERE folded = 'opacite'" >/dev/null
  # Without "Opacite" the start-up stops on its error, shown in a box before the window.
  "$app" 2>/dev/null &
  pid=$!
  started+=("$pid")
  check "the start-up's error is shown ($signal)" waitFor 15 windowShown
  kill "-$signal" "$pid"
  check "SIG$signal while the error box is shown ends the program" waitFor 15 not running "$pid"
  check "with status 0" test "$(statusOf "$pid")" = 0
  check "after saving the settings" opacityStored
done

Summary
