# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the lab's scenarios inside the guest: idle processes, snapshots of the machine's and
# their memory, a measured run, and the figures. Every figure is printed on a line of its own,
# "figure NAME VALUE", for bench/lab.sh and the tests; sizes in MiB, times in ms.
recover=$LAB_BUILD/src/cli/mnemora-recover
hold=$LAB_BUILD/lab/lab-hold
measure=$LAB_BUILD/lab/lab-measure
holders=""

Figure() { echo "figure $1 $2"; }
MeminfoMb() { awk -v key="$1:" '$1 == key { print int($2 / 1024) }' /proc/meminfo; }
OomKills() { awk '$1 == "oom_kill" { print $2 }' /proc/vmstat; }
StatusKb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status" 2>/dev/null; }

# StartHolders COUNT MB [GROUP [USER]]: COUNT idle processes holding MB MiB each, started inside
# the cgroup v2 folder GROUP (as USER) when given; returns once every one has written its memory.
StartHolders() {
  i=0
  while [ "$i" -lt "$1" ]; do
    i=$((i + 1))
    out="$LAB_TMP/holder-$(echo $holders | wc -w).out"
    if [ -n "${3:-}" ]; then
      as=""
      [ -n "${4:-}" ] && as="setpriv --reuid=$4 --regid=$(id -g "$4") --clear-groups"
      sh -c 'echo $$ > "$1/cgroup.procs" && exec $2 "$3" "$4"' holder "$3" "$as" "$hold" "$2" > "$out" &
    else
      "$hold" "$2" > "$out" &
    fi
    holders="$holders $!"
  done
  started=$(echo $holders | wc -w)
  n=0
  until [ "$(cat "$LAB_TMP"/holder-*.out | grep -c ready)" -ge "$started" ]; do
    n=$((n + 1))
    [ "$n" -gt 600 ] && { echo "lab: the idle processes did not get their memory" >&2; return 1; }
    sleep 0.1
  done
}

# Snapshot WHEN: the machine's memory and each idle process's, as figures (WHEN: before, after).
Snapshot() {
  for key in MemAvailable MemFree SwapFree Cached; do
    Figure "${key}_$1" "$(MeminfoMb $key)"
  done
  rss=0
  swapped=0
  alive=0
  for pid in $holders; do
    r=$(StatusKb "$pid" VmRSS)
    s=$(StatusKb "$pid" VmSwap)
    if [ -n "$r" ]; then
      alive=$((alive + 1))
      echo "process $pid ($1): VmRSS $((r / 1024)) MiB, VmSwap $((${s:-0} / 1024)) MiB"
      rss=$((rss + r))
      swapped=$((swapped + ${s:-0}))
    else
      echo "process $pid ($1): gone"
    fi
  done
  Figure "rss_$1" $((rss / 1024))
  Figure "swap_$1" $((swapped / 1024))
  Figure "alive_$1" "$alive"
}

# MeasuredRun [--as USER] [--in GROUP] PROGRAM ARGS: runs it with the machine sampled twice a
# second (lab-samples.txt: seconds, MemAvailable, SwapFree), its report kept in run.out.
MeasuredRun() {
  prefix=""
  while :; do
    case $1 in
      --as) prefix="$prefix setpriv --reuid=$2 --regid=$(id -g "$2") --clear-groups"; shift 2 ;;
      --in) group=$2; shift 2 ;;
      *) break ;;
    esac
  done
  start=$(date +%s%N)
  (
    while :; do
      now=$(date +%s%N)
      echo "$(( (now - start) / 1000000 )) $(MeminfoMb MemAvailable) $(MeminfoMb SwapFree)"
      sleep 0.5
    done
  ) > "$LAB_TMP/lab-samples.txt" &
  sampler=$!
  killsBefore=$(OomKills)
  if [ -n "${group:-}" ]; then
    sh -c 'echo $$ > "$1/cgroup.procs" && shift && exec "$@"' run "$group" "$measure" "$LAB_TMP/run.figures" $prefix "$@" > "$LAB_TMP/run.out"
  else
    "$measure" "$LAB_TMP/run.figures" $prefix "$@" > "$LAB_TMP/run.out"
  fi
  kill "$sampler"
  wait "$sampler" 2>/dev/null || true
  cat "$LAB_TMP/run.out"
  Figure oom_kills $(( $(OomKills) - killsBefore ))
  # What the kernel said of kills over the run.
  dmesg 2>/dev/null | grep -i -e 'killed process' -e 'out of memory' -e 'oom' | sed 's/^/kernel: /' || true
  while read -r name value; do Figure "$name" "$value"; done < "$LAB_TMP/run.figures"
  gain=$(sed -n 's/^ Quantité récupérée : \(-\{0,1\}[0-9]*\) MB$/\1/p' "$LAB_TMP/run.out")
  Figure report "$([ -n "$gain" ] && echo 1 || echo 0)"
  Figure gain_mb "${gain:-0}"
  Figure written_mb "$(sed -n 's/^Mémoire écrite : \([0-9]*\) MB.*/\1/p' "$LAB_TMP/run.out")"
  Figure reclaimed_mb "$(sed -n 's/^Mémoire reprise par le noyau : \([0-9]*\) MB.*/\1/p' "$LAB_TMP/run.out")"
  # The samples, for a plot of one run.
  while read -r t available swapFree; do echo "sample $t $available $swapFree"; done < "$LAB_TMP/lab-samples.txt"
}
