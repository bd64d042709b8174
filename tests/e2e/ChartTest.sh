#!/usr/bin/env bash
# A minute of live readings with one of the machine's processors kept busy: the history chart
# shows its three lines, and the processor line sits at the machine's load. Run alone: other
# work on the machine would be measured too.
# Usage: ChartTest.sh MNEMORA_XP OUTPUT_DIR
set -u
app=$1
out=$2
mkdir -p "$out"
source "$(dirname "$0")/common.sh"
IsolateHome
busy=""
first=""
trap 'kill -KILL $busy $first 2>/dev/null; rm -rf "$home"' EXIT

cpus=$(nproc)
sh -c 'while :; do :; done' &
busy=$!
"$app" &
first=$!
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

# Rows of the processor line over the last 40 points: y = 98 - load * 97 / 100.
expected=$((100 / cpus))
low=$((expected - 10))
high=$((expected + 10))
median=$(awk -F'[,:]' '/#00FFFF/ && $1 >= 217 { print $2 }' <<<"$pixels" | sort -n | awk '{ rows[NR] = $1 } END { print rows[int((NR + 1) / 2)] }')
load=$(( (98 - median) * 100 / 97 ))
echo "processor line at row $median: about $load % (one busy processor of $cpus: $expected %)"
check "the processor load reads between $low and $high %" test "$load" -ge "$low" -a "$load" -le "$high"

kill "$first"
wait "$first"
Summary
