#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The tray program on a Wayland desktop (weston, headless) with no StatusNotifierItem host: it
# starts quietly (Qt's X11-only tray signal is not hooked), keeps its window, and ends in order.
# Usage: WaylandTest.sh MNEMORA_XP   (run inside a D-Bus session of its own)
set -u
app=$1
source "$(dirname "$0")/common.sh"
OpenRun

weston --backend=headless-backend.so --socket=wayland-e2e --idle-time=0 >"$home/weston.log" 2>&1 &
started+=($!)
compositorUp() { [ -S "$XDG_RUNTIME_DIR/wayland-e2e" ]; }
waitFor 20 compositorUp || { cat "$home/weston.log"; echo "e2e: 0 passed, 1 failed (weston did not start)"; exit 1; }

unset DISPLAY
export WAYLAND_DISPLAY=wayland-e2e QT_QPA_PLATFORM=wayland
"$app" 2>"$home/stderr.log" &
program=$!
started+=("$program")
# The instance's socket is made once the window exists; a second start then reaches it.
instanceUp() { [ -S "$XDG_RUNTIME_DIR/mnemora-xp.instance" ]; }
check "the program starts on Wayland" waitFor 20 instanceUp
check "a second start reaches it" timeout 20 "$app" --show
sleep 1  # the half second after which a program with a tray would hide its window
check "it runs on" running "$program"
kill -TERM "$program"
check "SIGTERM ends it" waitFor 10 not running "$program"
check "with status 0" test "$(statusOf "$program")" = 0
noSignalWarning() { ! grep -q "No such signal" "$home/stderr.log"; }
check "no Qt warning about a tray signal Wayland does not have" noSignalWarning
grep -v '^$' "$home/stderr.log" | sed 's/^/  stderr: /'
Summary
