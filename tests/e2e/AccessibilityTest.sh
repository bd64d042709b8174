#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as a screen reader meets it: the built program with its accessibility bridge on,
# walked over AT-SPI from outside (AccessibilityWalk.py) on every page: names, the status bar
# during a run, the chart, the pictures, the tabs, the links.
# Usage: AccessibilityTest.sh MNEMORA_XP
set -u
app=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
IsolateHome
KillStartedOnExit
UseLinkRecorder
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

"$app" &
pid=$!
started+=("$pid")
check "the window is shown at start" waitFor 30 windowShown
check "then goes to the tray" waitFor 30 not windowShown
"$app"  # a second start shows the window
check "a second start shows it again" waitFor 30 windowShown
check "the walk over AT-SPI finds nothing wrong" timeout 240 /usr/bin/python3 "$here/AccessibilityWalk.py" check "$pid" "$links"
kill -TERM "$pid"
check "the program ends in order" waitFor 15 not running "$pid"
Summary
