#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The settings across runs of the built program, on the display xsession.sh made: a fresh user's
# first exit (by SIGTERM) saves them and writes the autostart entry; choices made in the window
# survive a restart; clearing "Démarre avec Win ?" removes the entry at once.
# Usage: SettingsTest.sh MNEMORA_XP
set -u
app=$1
source "$(dirname "$0")/common.sh"
OpenRun

entry=$XDG_CONFIG_HOME/autostart/mnemora-xp.desktop
exists() { [ -e "$1" ]; }
# The window's own properties, as the X server holds them.
onTop() { xprop -id "$(mainWindow)" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
opacityIs() {  # the window opacity for a track bar position of $1 (0 .. 255), within rounding
  xprop -id "$(mainWindow)" _NET_WM_WINDOW_OPACITY | awk -v want="$1" -F' = ' \
    '{ got = $2 / 4294967295 * 255 } END { exit !(NR == 1 && got > want - 0.5 && got < want + 0.5) }'
}
# Where the controls of the "Paramètres" page are in the window (its layout is fixed).
click() { xdotool mousemove --window "$(mainWindow)" "$1" "$2" click 1; }
showParametres() {
  "$app"  # a second start shows the window
  waitFor 10 windowShown || return 1
  click 25 12
  xdotool key --window "$(mainWindow)" ctrl+Tab ctrl+Tab
}

# A fresh user: nothing is written until the program ends.
"$app" &
first=$!
started+=("$first")
check "a fresh user's window is shown at start" waitFor 10 windowShown
check "on top" onTop
check "then goes to the tray" waitFor 10 not windowShown
check "nothing is written before the end" not exists "$entry"
kill -TERM "$first"
check "SIGTERM ends the program" waitFor 15 not running "$first"
check "with status 0" test "$(statusOf "$first")" = 0
check "the first exit writes the autostart entry" exists "$entry"
check "which desktop-file-validate accepts" desktop-file-validate "$entry"
check "and which starts this program" grep -qxF "Exec=\"$(realpath "$app")\"" "$entry"
check "the settings are in the user's hive" exists "$XDG_CONFIG_HOME/mnemora-xp/user-hive.sqlite3"

# Choices made in the window.
"$app" &
second=$!
started+=("$second")
waitFor 10 windowShown
waitFor 10 not windowShown
check "the window comes back on the \"Paramètres\" page" showParametres
click 27 68                          # "Toujours visible?": cleared
click 421 88                         # the opacity track bar's handle, then 55 steps down to 200
xdotool key --repeat 55 --delay 10 Left
check "the window follows its opacity at once" waitFor 10 opacityIs 200
click 27 106                         # "Démarre avec Win ?": cleared
check "clearing \"Démarre avec Win ?\" removes the entry at once" waitFor 10 not exists "$entry"
kill -TERM "$second"
check "SIGTERM ends it again" waitFor 15 not running "$second"
check "with status 0" test "$(statusOf "$second")" = 0

# A restart shows what was chosen.
"$app" &
third=$!
started+=("$third")
check "after a restart the window is shown" waitFor 10 windowShown
check "no longer on top" not onTop
check "at the opacity chosen" opacityIs 200
check "the entry stays removed" not exists "$entry"
kill -TERM "$third"
check "and the program ends in order" waitFor 15 not running "$third"
check "with status 0" test "$(statusOf "$third")" = 0
check "still without the entry" not exists "$entry"

Summary
