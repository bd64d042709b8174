# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end scripts: a private home for the program, a tally of checks, and a
# wait with a deadline.

# Points every XDG folder and the machine hive into a new temporary home; prints nothing.
IsolateHome() {
  home=$(mktemp -d)
  local variable
  for variable in XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME XDG_RUNTIME_DIR MNEMORA_MACHINE_HIVE_DIR; do
    mkdir -p "$home/$variable"
    chmod 700 "$home/$variable"
    export "$variable=$home/$variable"
  done
}

# Kills every process whose id the script adds to the array "started", and removes the temporary
# home, when the script ends however it ends.
KillStartedOnExit() {
  started=()
  trap 'kill -KILL "${started[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$home"' EXIT
}

# The opening of a script: a home of its own (IsolateHome) and, with an argument, the folder its
# screenshots go to; what it starts is ended with it (KillStartedOnExit).
OpenRun() {
  [ $# -eq 0 ] || mkdir -p "$1"
  IsolateHome
  KillStartedOnExit
}

passed=0
failed=0
check() {
  local name=$1
  shift
  if "$@"; then echo "ok   $name"; passed=$((passed + 1)); else echo "FAIL $name"; failed=$((failed + 1)); fi
}
# The closing line of a script: the tally, and its exit status.
Summary() {
  echo "e2e: $passed passed, $failed failed"
  [ "$failed" = 0 ]
}

# Deadlines only keep a broken run from hanging; nothing here measures speed.
waitFor() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 20))); do "$@" && return 0; sleep 0.05; done
  "$@"
}
not() { ! "$@"; }
# The tray panel's process. xprop walks the window tree to find the panel and fails when a window
# goes away meanwhile (a menu, a tip): give it to waitFor.
panelPid() { xprop -name panel _NET_WM_PID 2>/dev/null | awk '/_NET_WM_PID/ { print $3 }' | grep .; }
running() { kill -0 "$1" 2>/dev/null; }

windowShown() { mainWindow >/dev/null; }
# The icons the XEmbed tray (trayer's window "panel") holds for the program.
trayIcons() { xwininfo -name panel -tree 2>/dev/null | grep -c '"Mnemora XP"'; }
oneTrayIcon() { [ "$(trayIcons)" = 1 ]; }
# Records, from now on, every window taken from the root window into another: on a display with
# no window manager, that is an XEmbed tray docking an icon. DocksSeen prints how many so far.
WatchDocks() {
  dockLog=$home/root-events
  stdbuf -oL xev -root -event substructure -event property >"$dockLog" 2>&1 &
  started+=($!)
  # xev listens once a change on the root window reaches it.
  probeSeen() { xprop -root -f _MNEMORA_PROBE 8s -set _MNEMORA_PROBE 1; grep -q '^PropertyNotify' "$dockLog"; }
  waitFor 10 probeSeen
}
DocksSeen() {
  awk '/^ReparentNotify/ { getline; gsub(",", ""); if ($2 != $6) docks++ } END { print docks + 0 }' "$dockLog"
}
# The peak resident size of a process in MB: a recovery run of N MB raises it by about N.
peakMb() { awk '/^VmHWM:/ { print int($2 / 1024) }' "/proc/$1/status"; }
# Ends a process that is still running and prints its exit status.
statusOf() {
  running "$1" && kill -KILL "$1"
  wait "$1"
  echo $?
}

# The main window's id, when it is shown (the tray icon's window has the same title but is small).
mainWindow() {
  local window
  for window in $(xdotool search --onlyvisible --name '^Mnemora XP$' 2>/dev/null); do
    xwininfo -id "$window" | grep -qE 'Width: ([1-9][0-9]{2,})' && { echo "$window"; return 0; }
  done
  return 1
}

# Hands the test's environment to the programs the session bus starts on demand (xfconfd, a
# notification daemon), so that they too live in the temporary home and on this display.
ShareEnvironmentWithBus() {
  dbus-update-activation-environment HOME DISPLAY XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME \
    XDG_RUNTIME_DIR MNEMORA_MACHINE_HIVE_DIR
}

# The first pixel of the tray icon's square (lime, yellow or red) in the screen's top strip, as
# "x y"; for trays that draw icons into their own window.
squareInTopStrip() {
  import -window root -crop 1024x40+0+0 -depth 8 txt:- 2>/dev/null |
    awk -F'[,: ]+' '/#00FF00|#FFFF00|#FF0000/ { print $1, $2; exit }'
}

# The centre of the program's icon in the XEmbed tray (trayer's window "panel"), as "x y".
trayIconCentre() {
  local icon
  icon=$(xwininfo -name panel -tree | awk '/"Mnemora XP"/ { print $1; exit }')
  xwininfo -id "$icon" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x + int(w / 2), y + int(h / 2) }'
}

# Puts a stand-in for the desktop's link handlers first on PATH (Qt hands links to xdg-open):
# each link it is given becomes a line of $links, and nothing is opened.
UseLinkRecorder() {
  links=$home/opened-links
  : >"$links"
  mkdir -p "$home/bin"
  local handler
  for handler in xdg-open xdg-email; do
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$links" >"$home/bin/$handler"
    chmod +x "$home/bin/$handler"
  done
  export PATH="$home/bin:$PATH"
}
