#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One idle stretch of the tray program, hidden in the tray, against a minimal tray program doing
# the same /proc reads every second, both running side by side over the same seconds on a
# private X display with a tray host: processor time, system calls (strace -c) and Pss_Anon.
# The last line holds the ratios. Usage: bench/idle.sh [MNEMORA_XP] [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" != --inside ]; then
  exec "$here/tests/e2e/xsession.sh" "$0" --inside "$(realpath "${1:-$here/build/src/app/mnemora-xp}")" "${2:-10}"
fi
app=$2
seconds=$3
anchor=$here/build/bench/minimal_tray
source "$here/tests/e2e/common.sh"
IsolateHome
trap 'kill -KILL $program $minimal 2>/dev/null; wait 2>/dev/null; rm -rf "$home"' EXIT

"$app" 2>/dev/null &
program=$!
"$anchor" 2>/dev/null &
minimal=$!
sleep 5  # the window has gone to the tray and the start-up's work is over

# Processor time of all threads, in ns.
processorNs() { cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { printf "%d", sum }'; }
pssAnonKb() { awk '/^Pss_Anon:/ { print $2 }' /proc/"$1"/smaps_rollup; }
syscallsFile=$(mktemp -d)
before=("$(processorNs $program)" "$(processorNs $minimal)")
timeout -s INT "$seconds" strace -c -f -p "$program" -o "$syscallsFile/program" 2>/dev/null &
tracing=$!
timeout -s INT "$seconds" strace -c -f -p "$minimal" -o "$syscallsFile/minimal" 2>/dev/null &
wait $tracing $! || true
after=("$(processorNs $program)" "$(processorNs $minimal)")
calls() { awk '/total$/ { print $4 }' "$1" | tail -1; }
programCalls=$(calls "$syscallsFile/program")
minimalCalls=$(calls "$syscallsFile/minimal")
[ -n "${KEEP_STRACE:-}" ] && cp "$syscallsFile/program" "$KEEP_STRACE"
rm -rf "$syscallsFile"
programCpu=$(( (after[0] - before[0]) / seconds ))
minimalCpu=$(( (after[1] - before[1]) / seconds ))
awk -v pc="$programCpu" -v mc="$minimalCpu" -v ps="$programCalls" -v ms="$minimalCalls" -v s="$seconds" \
    -v pa="$(pssAnonKb $program)" -v ma="$(pssAnonKb $minimal)" 'BEGIN {
  printf "processor per idle second: mnemora-xp %.3f ms, minimal tray %.3f ms\n", pc / 1e6, mc / 1e6
  printf "system calls per second: mnemora-xp %.1f, minimal tray %.1f\n", ps / s, ms / s
  printf "Pss_Anon: mnemora-xp %.1f MB, minimal tray %.1f MB\n", pa / 1024, ma / 1024
  printf "idle ratios: processor %.2fx, system calls %.2fx, Pss_Anon %.2fx\n", pc / mc, ps / ms, pa / ma
}'
