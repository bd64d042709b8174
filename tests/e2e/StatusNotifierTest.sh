#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tray program on a StatusNotifierItem host (the notification area of xfce4-panel or of
# lxqt-panel, on the display xsession.sh made with no other tray), with dunst as the desktop's
# notification service: the icon's sizes, one activation, the host's own menu and its items,
# balloons as notifications.
# Usage: StatusNotifierTest.sh MNEMORA_XP OUTPUT_DIR xfce|lxqt
set -u
app=$1
out=$2
panel=$3
here=$(dirname "$0")
source "$here/common.sh"
OpenRun "$out"
export HOME=$home

watcherProperty() {
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher "$1" 2>/dev/null
}
hostUp() { watcherProperty IsStatusNotifierHostRegistered | grep -q true; }
# The newest registration: Qt registers the icon again each time it is shown.
item() { watcherProperty RegisteredStatusNotifierItems | grep -oE "'[^']+'" | tail -1 | tr -d "'"; }
itemProperty() {
  local item
  item=$(item)
  gdbus call --session --dest "${item%%/*}" --object-path "/${item#*/}" \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem "$1"
}
iconShown() { [ -n "$(squareInTopStrip)" ]; }

ShareEnvironmentWithBus
startPanel() {
  if [ "$panel" = xfce ]; then
    mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
    cp "$here/xfce/xfce4-panel.xml" "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/"
    xfce4-panel --disable-wm-check >"$home/panel.log" 2>&1 &
  else
    mkdir -p "$XDG_CONFIG_HOME/lxqt"
    cp "$here/lxqt/panel.conf" "$XDG_CONFIG_HOME/lxqt/"
    lxqt-panel >"$home/panel.log" 2>&1 &
  fi
  panelPid=$!
  started+=("$panelPid")
}
startPanel
waitFor 30 hostUp || { echo "e2e: the $panel panel's notification area did not come up:"; cat "$home/panel.log"; exit 1; }
dunst >"$home/dunst.log" 2>&1 &
started+=($!)
waitFor 10 dbus-send --session --print-reply --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
  org.freedesktop.Notifications.GetServerInformation >/dev/null 2>&1
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
  "type='method_call',interface='org.freedesktop.Notifications',member='CloseNotification'" >"$home/bus.log" 2>&1 &
started+=($!)

# Each time Qt shows the icon it registers a new item with the panel's watcher.
dbus-monitor --session "type='method_call',interface='org.kde.StatusNotifierWatcher',member='RegisterStatusNotifierItem'" \
  >"$home/registrations.log" 2>&1 &
started+=($!)
waitFor 10 test -s "$home/registrations.log"
registrations() { grep -c 'member=RegisterStatusNotifierItem' "$home/registrations.log"; }

"$app" &
first=$!
started+=("$first")
registered() { [ -n "$(item)" ]; }
check "the icon is a StatusNotifierItem" waitFor 10 registered
check "the window goes away once the icon is in the notification area" waitFor 10 not windowShown
sleep 1  # time for a late second registration to show
check "the icon registered once in all (registrations: $(registrations))" test "$(registrations)" = 1
check "$panel-panel shows the icon" waitFor 10 iconShown

# The panel quits: the window hidden in its notification area comes back, as with no tray at
# start; the panel started again shows the icon again.
kill "$panelPid"
check "when the panel goes away the window comes back" waitFor 20 windowShown
startPanel
waitFor 30 hostUp
check "a new $panel-panel shows the icon again" waitFor 20 iconShown
sizes=$(itemProperty IconPixmap | grep -oE '\(([0-9]+), \1, \[' | grep -oE '^\([0-9]+' | tr -d '(' | tr '\n' ' ')
check "the icon is offered at 16, 22, 24, 32 and 48 pixels (offered: $sizes)" test "$sizes" = "16 22 24 32 48 "
check "its menu is exported" not grep -q NO_DBUSMENU <<<"$(itemProperty Menu)"

sleep 1.5  # a reading or two on the icon
read -r squareX squareY < <(squareInTopStrip)
import -window root -crop "40x40+0+0" "$out/sni-$panel-tray-icon.png"
iconX=$((squareX + 8))
iconY=$((squareY + 8))
xdotool mousemove "$iconX" "$iconY" click 1
check "one click on the icon brings the window back" waitFor 10 windowShown

# The same menu still opens over the window's pages, as the program's own pop-up.
window=$(mainWindow)
popups() { xwininfo -root -children | grep -c '("mnemora-xp" "Mnemora XP")'; }
shown=$(popups)
menuOverThePages() { [ "$(popups)" -gt "$shown" ]; }
xdotool mousemove --window "$window" 25 12 click 3
check "the menu still opens over the window's pages" waitFor 10 menuOverThePages
xdotool key Escape
waitFor 5 not menuOverThePages

# "Tray Balloon?" on the "Paramètres" page, so that runs show balloons.
xdotool mousemove --window "$window" 25 12 click 1
xdotool key --window "$window" ctrl+Tab ctrl+Tab
sleep 0.5
read -r tabsWidth tabsHeight < <(xdotool getwindowgeometry "$window" | awk '/Geometry/ { split($2, g, "x"); print g[1], g[2] }')
xdotool mousemove --window "$window" 300 $((tabsHeight - 310 + 104)) click 1

# The host's menu: "&Optimiser RAM" starts a run.
installedMb=$(awk '/^MemTotal:/ { print int($2 / 1024 + 0.5) }' /proc/meminfo)
runMb=$((installedMb / 2 > 1024 ? 1024 : installedMb / 2))
before=$(peakMb "$first")
ranARecovery() { [ $(($(peakMb "$first") - before)) -ge $((runMb * 9 / 10)) ]; }
fromHostMenu() {
  xdotool mousemove "$iconX" "$iconY" click 3
  sleep 0.5
  import -window root -crop 300x160+0+0 "$out/sni-$panel-menu.png"
  xdotool key "$1"
}
optimise() { fromHostMenu o; waitFor 10 ranARecovery; }
check "the host's menu opens and \"&Optimiser RAM\" runs a recovery of about ${runMb} MB" waitFor 30 optimise

twoNotifies() { [ "$(grep -c 'member=Notify' "$home/bus.log")" -ge 2 ]; }
check "the run's two balloons reach the notification service" waitFor 20 twoNotifies
replaced=$(awk '/member=Notify/ { call++; getline; getline; if (call == 2) print $2 }' "$home/bus.log")
check "the second replaces the first (replaces id: ${replaced:-none})" test "${replaced:-0}" != 0
check "and says the run ended" grep -q 'Optimisation terminée' "$home/bus.log"
cp "$home/bus.log" "$out/sni-$panel-notifications.log"
check "one notification is shown" test "$(dunstctl count displayed)" = 1

quit() { fromHostMenu q; waitFor 5 not running "$first"; }
check "\"&Quitter\" in the host's menu ends the program" waitFor 30 quit
check "with status 0" test "$(statusOf "$first")" = 0

Summary
