# SPDX-License-Identifier: GPL-3.0-or-later
# The run and an idle process of 200 MiB inside one cgroup v2 group limited to 600 MiB, by
# memory.max ("max"), by memory.high ("high"), or by memory.max with memory.swap.max = 0
# ("no-swap"). usage: v2-limit.sh [max | high | no-swap]
set -eu
. "$LAB_DIR/measure.sh"
group=/sys/fs/cgroup/lab
mkdir "$group"
case ${1:-max} in
  max) echo 600M > "$group/memory.max" ;;
  high) echo 600M > "$group/memory.high" ;;
  no-swap) echo 600M > "$group/memory.max"; echo 0 > "$group/memory.swap.max" ;;
  *) echo "v2-limit.sh : variante inconnue « $1 »" >&2; exit 2 ;;
esac
StartHolders 1 200 "$group"
Snapshot before
MeasuredRun --in "$group" "$recover" 1024
Snapshot after
Figure group_peak_mb $(( $(cat "$group/memory.peak") / 1048576 ))
