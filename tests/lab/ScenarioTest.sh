#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One lab scenario in its guest, judged: nobody killed, the run ends with its report, and for
# "idle apps" the gain is true and the idle processes went to swap. The figures are kept in
# OUTPUT_DIR/NAME.txt (the "kernel" scenario compares itself with "idle apps" there).
# usage: ScenarioTest.sh NAME BUILD_DIR OUTPUT_DIR   (exit 77: the guest cannot start here)
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
name=$1
build=$2
output=$3
mkdir -p "$output"
"$here/lab/run.sh" "$name" --build "$build" > "$output/$name.txt"
status=$?
grep -v '^sample ' "$output/$name.txt"
[ "$status" -eq 77 ] && exit 77
# The guest's own limit, not the program's doing (lab/boot.sh: vm.max_map_count).
if grep -q 'UML ran out of memory on the host side' "$output/$name.txt"; then
  echo "lab: the guest ran out of host mappings (vm.max_map_count $(cat /proc/sys/vm/max_map_count)); run the lab as root or raise it"
  exit 77
fi
source "$here/tests/e2e/common.sh"

figure() { awk -v name="$2" '$1 == "figure" && $2 == name { print $3; exit }' "$1"; }
f() { figure "$output/$name.txt" "$1"; }
# within A B PERCENT: A differs from B by at most PERCENT % of B.
within() { awk -v a="$1" -v b="$2" -v p="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; if (b < 0) b = -b; exit !(d <= b * p / 100) }'; }
atLeast() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

check "the scenario ended well (status $status)" [ "$status" -eq 0 ]
check "the kernel killed nobody (oom_kill $(f oom_kills))" [ "$(f oom_kills)" = 0 ]
check "every idle process lives ($(f alive_after) of $(f alive_before))" [ "$(f alive_after)" = "$(f alive_before)" ]
check "the run ended by itself, with its report" test "$(f signal)" = 0 -a "$(f report)" = 1

case $name in
  idle-apps)
    change=$(( $(f MemAvailable_after) - $(f MemAvailable_before) ))
    check "the gain reported ($(f gain_mb) MB) is the MemAvailable change ($change MB) within 5 %" \
      within "$(f gain_mb)" "$change" 5
    check "the idle processes lost at least half of their memory to swap ($(f swap_after) of $(f rss_before) MiB)" \
      atLeast $(( 2 * ($(f swap_after) - $(f swap_before)) )) "$(f rss_before)"
    ;;
  kernel)
    alloc=$(figure "$output/idle-apps.txt" gain_mb 2>/dev/null)
    if [ -z "$alloc" ]; then
      "$here/lab/run.sh" idle-apps --build "$build" > "$output/idle-apps.txt"
      alloc=$(figure "$output/idle-apps.txt" gain_mb)
    fi
    check "the kernel's reclaim gives back at least 95 % of a plain run ($(f gain_mb) vs $alloc MB)" \
      atLeast "$(f gain_mb)" "$(awk -v a="$alloc" 'BEGIN { print a * 0.95 }')"
    check "the program stays under 40 MB resident ($(( $(f peak_kb) / 1024 )) MB)" [ "$(f peak_kb)" -lt 40960 ]
    check "another user cannot reclaim from the group (status $(f other_status))" [ "$(f other_status)" = 3 ]
    check "and says why in one line ($(f other_lines) line)" [ "$(f other_lines)" = 1 ]
    check "and the group lost nothing to it ($(f other_moved_mb) MiB)" [ "$(f other_moved_mb)" -le 4 ]
    ;;
esac
Summary
