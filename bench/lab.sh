#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The memory lab's figures: every scenario in its guest (lab/run.sh), RUNS times, and for each
# run the gain the program reported, the change of MemAvailable, the MiB moved out of the idle
# processes (their RSS fall and swap rise), the run's time, the program's peak resident memory
# and the processes killed. Then both ways of recovering side by side on "idle apps" and
# "kernel". The last two lines:
#   lab gain_mb X moved_mb Y kills Z                     ("idle apps", the median run; all kills)
#   lab kernel/alloc time_ratio X gain_ratio Y           (medians)
# usage: bench/lab.sh [--runs N] [--build DIR] [--plot FILE.svg] [SCENARIO...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=1
build=$here/build
plot=""
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --plot) plot=$2; shift 2 ;;
    *) break ;;
  esac
done
if [ $# -gt 0 ]; then scenarios=("$@"); else mapfile -t scenarios < <("$here/lab/run.sh" --list); fi
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

figure() { awk -v name="$2" '$1 == "figure" && $2 == name { print $3; exit }' "$1"; }
# The median of the numbers on standard input.
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print 0; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-11s %3s %7s %16s %9s %8s %8s %8s %5s\n' scenario run gain_MB MemAvailable_MB moved_MiB swap_MiB time_s peak_MB kills
for scenario in "${scenarios[@]}"; do
  for run in $(seq "$runs"); do
    out="$results/$scenario-$run.txt"
    status=0
    "$here/lab/run.sh" "$scenario" --build "$build" > "$out" || status=$?
    if [ "$status" -eq 77 ]; then
      echo "lab: the guest cannot start here; nothing measured" >&2
      exit 77
    fi
    f() { figure "$out" "$1"; }
    before=$(f MemAvailable_before)
    after=$(f MemAvailable_after)
    kills=$(( $(f oom_kills) + $(f alive_before) - $(f alive_after) ))
    echo "$kills" > "$results/$scenario-$run.kills"
    printf '%-11s %3d %7s %16s %9d %8d %8.1f %8d %5d%s\n' "$scenario" "$run" "$(f gain_mb)" \
      "$before → $after" $(( $(f rss_before) - $(f rss_after) )) $(( $(f swap_after) - $(f swap_before) )) \
      "$(awk -v ms="$(f time_ms)" 'BEGIN { print ms / 1000 }')" $(( $(f peak_kb) / 1024 )) "$kills" \
      "$([ "$status" -eq 0 ] && [ "$(f report)" = 1 ] || echo "  (no report: status $status)")"
  done
done

medianOf() { for out in "$results/$1"-*.txt; do figure "$out" "$2"; done | median; }
allKills() { cat "$results/$1"-*.kills 2>/dev/null | awk '{ s += $1 } END { print s + 0 }'; }
if [ -n "$plot" ] && [ -f "$results/idle-apps-1.txt" ]; then
  "$here/bench/lab-plot.sh" "$results/idle-apps-1.txt" > "$plot"
fi
if [ -f "$results/idle-apps-1.txt" ]; then
  moved=$(for out in "$results"/idle-apps-*.txt; do echo $(( $(figure "$out" rss_before) - $(figure "$out" rss_after) )); done | median)
  if [ -f "$results/kernel-1.txt" ]; then
    echo
    printf '%-28s %10s %10s\n' "idle apps, 1 GiB, 1 GiB swap" "alloc" "kernel"
    for row in "gain_mb:gain (MB)" "time_ms:time (ms)" "peak_kb:peak resident (kB)"; do
      printf '%-28s %10s %10s\n' "${row#*:}" "$(medianOf idle-apps "${row%%:*}")" "$(medianOf kernel "${row%%:*}")"
    done
  fi
  echo "lab gain_mb $(medianOf idle-apps gain_mb) moved_mb $moved kills $(allKills idle-apps)"
fi
if [ -f "$results/idle-apps-1.txt" ] && [ -f "$results/kernel-1.txt" ]; then
  awk -v kt="$(medianOf kernel time_ms)" -v at="$(medianOf idle-apps time_ms)" \
      -v kg="$(medianOf kernel gain_mb)" -v ag="$(medianOf idle-apps gain_mb)" \
      'BEGIN { printf "lab kernel/alloc time_ratio %.2f gain_ratio %.2f\n", kt / at, kg / ag }'
fi
