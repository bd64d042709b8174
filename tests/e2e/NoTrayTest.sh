#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tray program on a desktop with no notification area (the display xsession.sh made with
# --no-tray): the window stays, and a tray that comes later gets the icon.
# Usage: NoTrayTest.sh MNEMORA_XP
set -u
app=$1
source "$(dirname "$0")/common.sh"
OpenRun
shownFor() {
  local seconds=$1 second
  for second in $(seq "$seconds"); do windowShown || return 1; sleep 1; done
  windowShown
}

"$app" &
program=$!
started+=("$program")
check "the window is shown at start" waitFor 10 windowShown
check "and still shown 5 s later, with no tray to go to" shownFor 5
check "the program runs on" running "$program"

trayer --edge top --align right --widthtype request --heighttype pixel --height 24 >/dev/null 2>&1 &
started+=($!)
check "a tray that starts later gets the icon" waitFor 15 oneTrayIcon
check "and the window stays where it was" windowShown

kill -TERM "$program"
check "SIGTERM ends the program" waitFor 15 not running "$program"
Summary
