#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The memory lab's guest: a User-mode Linux machine with the host's filesystem as its root
# (read through hostfs, so it runs the programs of build/ unchanged), cgroup v2 with the memory
# controller, and a swap file of its own. Runs one scenario of lab/scenarios/ as its first
# process, prints what the scenario prints, powers off, and exits with the scenario's status.
#
# usage: lab/boot.sh [--mem MB] [--swap MB | --no-swap] [--build DIR] [--time-limit S] SCENARIO [ARGS...]
# Exit status: the scenario's; 77 when the guest cannot be started here (the reason on stderr).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mem=1024
swap=1024
build=$(cd "$here/.." && pwd)/build
limit=170
while [ $# -gt 0 ]; do
  case $1 in
    --mem) mem=$2; shift 2 ;;
    --swap) swap=$2; shift 2 ;;
    --no-swap) swap=0; shift ;;
    --build) build=$(cd "$2" && pwd); shift 2 ;;
    --time-limit) limit=$2; shift 2 ;;
    -*) echo "boot.sh : option inconnue « $1 »" >&2; exit 2 ;;
    *) break ;;
  esac
done
scenario=${1:?usage: lab/boot.sh [--mem MB] [--swap MB | --no-swap] [--build DIR] SCENARIO [ARGS...]}
shift
[ -f "$here/scenarios/$scenario.sh" ] || { echo "boot.sh : pas de scénario « $scenario »" >&2; exit 2; }
kernel=$(command -v linux.uml || true)
if [ -z "$kernel" ]; then
  echo "lab: no User-mode Linux here (linux.uml, Debian package user-mode-linux)" >&2
  exit 77
fi

# Everything the guest writes on the host goes to this private folder: its memory file (UML's
# TMPDIR), its swap file, its control socket, the scenario's samples and status.
work=$(mktemp -d "${TMPDIR:-/tmp}/mnemora-lab.XXXXXXXX")
# The guest's memory and swap files are best in memory (/dev/shm): on a disk, the host writes
# the guest's every page back, and a run takes twice as long. The guest never sees this folder.
machine=$(mktemp -d /dev/shm/mnemora-lab.XXXXXXXX 2>/dev/null || mktemp -d "$work/machine.XXXXXXXX")
trap 'rm -rf "$work" "$machine"' EXIT
chmod 0755 "$work"  # the scenario's unprivileged user must reach its own folder below

# The guest's first process: the values it needs, then the common start-up of guest-init.sh.
{
  echo '#!/bin/sh'
  printf 'LAB_DIR=%q LAB_BUILD=%q LAB_TMP=%q LAB_SWAP=%q LAB_SCENARIO=%q\n' \
    "$here" "$build" "$work" "$([ "$swap" -gt 0 ] && echo 1 || echo 0)" "$scenario"
  echo 'export LAB_DIR LAB_BUILD LAB_TMP LAB_SWAP LAB_SCENARIO'
  printf 'set --'; printf ' %q' "$@"; echo
  echo '. "$LAB_DIR/guest-init.sh"'
} > "$work/init"
chmod 0755 "$work/init"

devices=()
if [ "$swap" -gt 0 ]; then
  truncate -s "${swap}M" "$machine/swap"
  devices=("ubd1=$machine/swap")
fi

# The guest maps each of its pages into the host process that runs it: a guest process of 1 GiB
# scattered over the guest's memory needs 262144 host mappings, four times Debian's default
# vm.max_map_count (recent distributions ship 1048576). Below that the guest kernel ends such a
# process itself ("UML ran out of memory on the host side"), which is no kill of the host's or
# of the program's doing. Root raises it as those distributions do; anyone else is told.
mapCount=$(cat /proc/sys/vm/max_map_count 2>/dev/null || echo 0)
if [ "$mapCount" -lt 1048576 ]; then
  if [ "$(id -u)" -eq 0 ] && echo 1048576 > /proc/sys/vm/max_map_count 2>/dev/null; then
    echo "lab: vm.max_map_count raised from $mapCount to 1048576 for the guest" >&2
  else
    echo "lab: vm.max_map_count is $mapCount; a guest process of more than $((mapCount / 256)) MiB may be ended by the guest kernel" >&2
  fi
fi

# Hosts whose processors save more register state than this kernel's buffer holds (AMX) refuse
# its register writes; the lab's small preload completes them (lab/UmlXstate.cpp).
preload=${LD_PRELOAD:-}
[ -f "$build/lab/libuml-xstate.so" ] && preload="$build/lab/libuml-xstate.so${preload:+:$preload}"

# The guest's console ends its lines with CR LF; its last words are the kernel's.
set +e
LD_PRELOAD=$preload TMPDIR=$machine timeout -k 5 "$limit" "$kernel" \
  mem="${mem}M" root=/dev/root rootfstype=hostfs rootflags=/ rw loglevel=1 \
  uml_dir="$machine" umid=lab con=null con0=null,fd:1 "${devices[@]}" init="$work/init" \
  </dev/null 2>"$work/kernel.log" | tr -d '\r' | grep -v -x -e 'Powering off.' -e 'reboot: System halted'
status=${PIPESTATUS[0]}
set -e
if [ ! -f "$work/status" ]; then
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "lab: the guest did not power off within ${limit} s" >&2
    exit 1
  fi
  # A guest that started and then died (its first process killed, a panic) is a failure.
  if [ -f "$work/started" ]; then
    echo "lab: the guest stopped before the scenario ended: $(grep -v '^ *\[<' "$work/kernel.log" | tail -n 3 | tr '\n' ' ')" >&2
    exit 1
  fi
  echo "lab: the guest could not be started here (linux.uml exit $status): $(grep -v '^ *\[<' "$work/kernel.log" | tail -n 3 | tr '\n' ' ')" >&2
  exit 77
fi
exit "$(cat "$work/status")"
