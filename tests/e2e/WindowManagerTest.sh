#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tray program under a real window manager (openbox) beside an XEmbed tray, on the display
# xsession.sh made: minimising takes the window to the tray and it comes back painted; a tray that
# goes away brings the window back; "--show" keeps the window of a first start on screen.
# Usage: WindowManagerTest.sh MNEMORA_XP OUTPUT_DIR   (screenshots go to OUTPUT_DIR)
set -u
app=$1
out=$2
source "$(dirname "$0")/common.sh"
OpenRun "$out"

# Without the session's autostart programs (a panel, the accessibility bus, a screen saver).
openbox --sm-disable --startup true >/dev/null 2>&1 &
started+=($!)
wmRunning() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
waitFor 20 wmRunning || { echo "e2e: 0 passed, 1 failed (openbox did not start)"; exit 1; }

# The main window's X id whether or not it is shown, and whether the X server shows it.
windowId() { xdotool search --name '^Mnemora XP$' 2>/dev/null | while read -r id; do
  xwininfo -id "$id" | grep -qE 'Width: ([1-9][0-9]{2,})' && { echo "$id"; break; }; done; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
notViewable() { ! viewable "$1"; }
# A window Qt paints is mostly the light button face; a mapped window it never paints is black.
painted() {
  import -window "$1" "$out/wm-$2.png" 2>/dev/null || return 1
  [ "$(convert "$out/wm-$2.png" -colorspace Gray -format '%[fx:mean > 0.4 ? 1 : 0]' info:)" = 1 ]
}
# A double-click on the icon brings the window back; a busy machine may need the user to try again.
doubleClickIcon() {
  local x y
  read -r x y < <(trayIconCentre)
  xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
  waitFor 3 viewable "$window"
}

"$app" &
first=$!
started+=("$first")
check "the window is shown at start" waitFor 10 windowShown
window=$(windowId)
check "then goes to the tray" waitFor 10 notViewable "$window"
check "and the tray holds its icon" waitFor 10 oneTrayIcon
check "a double-click on the icon brings it back" waitFor 20 doubleClickIcon
check "painted" waitFor 10 painted "$window" back

# Minimise, as the title bar's button does: the window goes to the tray and stays unmapped (it was
# mapped again right after, a black window Qt never painted).
xev -id "$window" -event structure >"$out/wm-xev.log" 2>&1 &
started+=($!)
xdotool windowminimize "$window"
check "minimising takes the window to the tray" waitFor 10 notViewable "$window"
sleep 1  # what would map it again comes within the same event-loop pass
check "where it stays, not mapped again" notViewable "$window"
check "the icon is in the tray" oneTrayIcon
check "a double-click brings it back from there" waitFor 20 doubleClickIcon
check "painted, not black" waitFor 10 painted "$window" restored
xdotool windowminimize "$window"
check "minimised once more, it goes to the tray again" waitFor 10 notViewable "$window"

# The tray goes away (its panel quits): the window is the only way back, so it comes back.
kill "$(waitFor 10 panelPid)"
check "when the tray goes away the window comes back" waitFor 10 viewable "$window"
check "painted" waitFor 10 painted "$window" tray-gone
trayer --edge top --align right --widthtype request --heighttype pixel --height 24 >/dev/null 2>&1 &
started+=($!)
check "the icon returns with a new tray" waitFor 20 oneTrayIcon
kill -TERM "$first"
check "SIGTERM ends the program" waitFor 10 not running "$first"

# "--show" with no instance running: the window stays once the icon is in the tray.
"$app" --show &
shown=$!
started+=("$shown")
check "--show starts the program with its window" waitFor 10 windowShown
check "its icon goes to the tray" waitFor 10 oneTrayIcon
sleep 1
check "and the window stays on screen" windowShown
kill -TERM "$shown"
check "SIGTERM ends it" waitFor 10 not running "$shown"
Summary
