#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private X display (Xvfb, which picks a free display number itself), with a
# tray host (trayer) unless --no-tray is given, in a D-Bus session of its own; cleans up after.
set -u
tray=1
if [ "${1:-}" = --no-tray ]; then tray=0; shift; fi

numberFile=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$numberFile" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 200); do [ -s "$numberFile" ] && break; sleep 0.05; done
export DISPLAY=":$(tr -d '\n' <"$numberFile")"
rm -f "$numberFile"
trayerPid=""
cleanup() {
  [ -n "$trayerPid" ] && kill "$trayerPid" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 200); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
# A tray host that did not come up (a busy machine, a start racing the new server) is started again.
startTray() {
  trayer --edge top --align right --widthtype request --heighttype pixel --height 24 >"$trayLog" 2>&1 &
  trayerPid=$!
  for _ in $(seq 200); do xwininfo -name panel >/dev/null 2>&1 && return 0; sleep 0.05; done
  kill "$trayerPid" 2>/dev/null
  return 1
}
if [ "$tray" = 1 ]; then
  trayLog=$(mktemp)
  startTray || startTray || startTray || { echo "xsession: the tray host did not start:" >&2; cat "$trayLog" >&2; }
  rm -f "$trayLog"
fi
export QT_QPA_PLATFORM=xcb
dbus-run-session -- "$@"
