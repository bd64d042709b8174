#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A minute of live readings with one of the machine's processors kept busy: the history chart
# shows its three lines, and the processor line sits at the machine's load as this script
# measures it from /proc/stat over the same seconds (whatever else the machine is doing).
# Usage: ChartTest.sh MNEMORA_XP OUTPUT_DIR
set -u
app=$1
out=$2
source "$(dirname "$0")/common.sh"
OpenRun "$out"

# The whole machine's time in jiffies: everything but guest time (already in user), then idle
# and iowait.
cpuTimes() {
  awk '/^cpu / { total = 0; for (i = 2; i <= 9; i++) total += $i; print total, $5 + $6; exit }' /proc/stat
}
# One line a second: the machine's load in percent over that second.
sampleLoads() {
  local total0 idle0 total1 idle1
  read -r total0 idle0 < <(cpuTimes)
  while :; do
    sleep 1
    read -r total1 idle1 < <(cpuTimes)
    [ "$total1" -gt "$total0" ] && echo $(( (total1 - total0 - (idle1 - idle0)) * 100 / (total1 - total0) ))
    total0=$total1
    idle0=$idle1
  done
}
median() { sort -n | awk '{ values[NR] = $1 } END { print values[int((NR + 1) / 2)] }'; }

cpus=$(nproc)
sh -c 'while :; do :; done' &
started+=($!)
sampleLoads >"$home/loads" &
started+=($!)
"$app" &
first=$!
started+=("$first")
sleep 62
timeout 20 "$app"  # a second start shows the window
sleep 1
window=$(waitFor 10 mainWindow)
import -window "$window" "$out/system-page-after-a-minute.png"
# The chart sits at (41, 61) on the page, 297 x 97 pixels.
convert "$out/system-page-after-a-minute.png" -crop 297x97+41+61 +repage "$out/chart-after-a-minute.png"
pixels=$(convert "$out/chart-after-a-minute.png" txt:-)
count() { grep -c "$1" <<<"$pixels"; }
check "the free-memory line is drawn (lime)" test "$(count '#00FF00')" -gt 100
check "the alarm line is drawn (red)" test "$(count '#FF0000')" -gt 100
check "the processor line is drawn (aqua)" test "$(count '#00FFFF')" -gt 100

# Rows of the processor line over the last 40 points (y = 98 - load * 97 / 100), against the
# loads measured over the last 40 seconds.
measured=$(tail -n 40 "$home/loads" | median)
row=$(awk -F'[,:]' '/#00FFFF/ && $1 >= 217 { print $2 }' <<<"$pixels" | median)
load=$(( (98 - row) * 100 / 97 ))
echo "processor line at row $row: about $load %; measured from /proc/stat: $measured % (one of $cpus processors kept busy)"
check "the processor line is within 12 points of the measured load" test "$load" -ge $((measured - 12)) -a "$load" -le $((measured + 12))

kill "$first"
wait "$first"
Summary
