#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the tray program costs while it sits in the tray: mnemora-xp on a private X display with a
# tray host, a warm-up, then 60 s at the "Normale" refresh speed (one reading a second). Prints its
# processor time over those 60 s and its proportional set size (PSS); the last line is
# "cpu_percent X.XX pss_mb Y". Usage: bench/resident.sh [build/src/app/mnemora-xp] [seconds]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
app=$(realpath "${1:-$here/build/src/app/mnemora-xp}")
seconds=${2:-60}
export app seconds here
exec "$here/tests/e2e/xsession.sh" bash -c '
  set -euo pipefail
  source "$here/tests/e2e/common.sh"
  IsolateHome
  trap "kill \$pid 2>/dev/null; rm -rf \$home" EXIT
  "$app" & pid=$!
  # Time on a processor in nanoseconds, summed over all threads (the tick counts of /proc/PID/stat
  # are too coarse for a program this quiet).
  cpuNs() { cat /proc/$pid/task/*/schedstat | awk "{ sum += \$1 } END { print sum }"; }
  sleep 5  # start-up, the trip to the tray, the first readings
  before=$(cpuNs)
  sleep "$seconds"
  after=$(cpuNs)
  pssKb=$(awk "/^Pss:/ { print \$2 }" "/proc/$pid/smaps_rollup")
  echo "processor time over ${seconds} s: $(( (after - before) / 1000000 )) ms"
  echo "proportional set size: ${pssKb} kB"
  awk -v ns=$((after - before)) -v s="$seconds" -v pss="$pssKb" \
    "BEGIN { printf \"cpu_percent %.2f pss_mb %d\n\", ns / 1e9 / s * 100, (pss + 512) / 1024 }"
'
