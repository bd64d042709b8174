#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tray program as a user meets it, on the display xsession.sh made: start, the trip to the
# tray, the hot key, a second start, the pages, the tray menu's quit, a crash left behind, SIGTERM.
# Usage: TrayProgramTest.sh MNEMORA_XP OUTPUT_DIR   (screenshots go to OUTPUT_DIR)
set -u
app=$1
out=$2
source "$(dirname "$0")/common.sh"
OpenRun "$out"

WatchDocks
"$app" &
first=$!
started+=("$first")
check "the window is shown at start" waitFor 10 windowShown
check "then goes to the tray" waitFor 10 not windowShown
check "and the tray holds its icon" waitFor 10 oneTrayIcon
sleep 1  # time for a late second dock to show
check "docked once in all (docks seen: $(DocksSeen))" test "$(DocksSeen)" = 1
oneTrayIcon || { echo "e2e: $passed passed, $((failed + 1)) failed (no tray icon: the rest cannot run)"; exit 1; }

# The hot key while hidden: a "Système" run, half the installed memory, 1024 MB at most.
installedMb=$(awk '/^MemTotal:/ { print int($2 / 1024 + 0.5) }' /proc/meminfo)
runMb=$((installedMb / 2 > 1024 ? 1024 : installedMb / 2))
before=$(peakMb "$first")
xdotool key ctrl+shift+r
ranARecovery() { [ $(($(peakMb "$first") - before)) -ge $((runMb * 9 / 10)) ]; }
check "Ctrl+Shift+R while hidden runs a recovery of about ${runMb} MB" waitFor 30 ranARecovery

timeout 20 "$app"
secondStatus=$?
check "a second start ends at once with status 0" test "$secondStatus" = 0
check "and shows the running window again" waitFor 10 windowShown
check "the first instance runs on with its one tray icon" test "$(running "$first" && trayIcons)" = 1

# The tray host restarts (the window is shown by now): the icon docks again.
kill "$(waitFor 10 panelPid)"
waitFor 10 not xwininfo -name panel >/dev/null 2>&1
trayer --edge top --align right --widthtype request --heighttype pixel --height 24 >/dev/null 2>&1 &
started+=($!)
check "the icon comes back when the tray host restarts" waitFor 10 oneTrayIcon
read -r iconX iconY < <(trayIconCentre)
sleep 1.5  # a reading or two on the icon
import -window root -crop "32x32+$((iconX - 16))+$((iconY - 16))" "$out/tray-icon.png"

# The six pages, by keyboard from the first tab.
window=$(mainWindow)
xdotool mousemove --window "$window" 25 12 click 1
pages=(systeme reglages parametres informations processeur a-propos)
for page in 0 1 2 3 4 5; do
  sleep 0.3
  import -window "$window" "$out/page-$page-${pages[$page]}.png"
  xdotool key --window "$window" ctrl+Tab
done
check "every page was saved" test "$(ls "$out"/page-*.png | wc -l)" = 6

# The tray menu opens on a right-click; its "&Quitter" answers to Q. A busy machine may be slow
# to show the menu, so the user tries again.
quitFromTrayMenu() {
  xdotool mousemove "$iconX" "$iconY" click 3
  sleep 0.5
  xdotool key q
  waitFor 5 not running "$first"
}
check "\"&Quitter\" from the tray menu ends the program" waitFor 30 quitFromTrayMenu
check "with status 0" test "$(statusOf "$first")" = 0

"$app" &
crashed=$!
started+=("$crashed")
waitFor 10 oneTrayIcon
kill -KILL "$crashed"
wait "$crashed" 2>/dev/null
"$app" &
next=$!
started+=("$next")
check "a socket left by a killed instance does not stop the next start" waitFor 10 windowShown
check "the next start stays" running "$next"

check "and goes to the tray" waitFor 10 not windowShown
waitFor 10 oneTrayIcon
read -r iconX iconY < <(trayIconCentre)
xdotool mousemove "$iconX" "$iconY" click --repeat 2 --delay 80 1
check "a double-click on the tray icon brings the window back" waitFor 10 windowShown
kill -TERM "$next"
check "SIGTERM ends the program" waitFor 15 not running "$next"
check "in order, with status 0" test "$(statusOf "$next")" = 0

Summary
