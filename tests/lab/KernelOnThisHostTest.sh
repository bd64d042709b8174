#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# mnemora-recover --kernel where the kernel cannot be asked (a cgroup v1 host, as the build
# machines are): status 3, one line on standard error, nothing on standard output. A host where
# it could be asked is skipped: the test must not reclaim the memory of the machine it runs on.
# usage: KernelOnThisHostTest.sh MNEMORA_RECOVER
set -uo pipefail
recover=$1
group=$(sed -n 's/^0:://p' /proc/self/cgroup)
mount=$(awk '$9 == "cgroup2" { print $5; exit }' /proc/self/mountinfo)
if [ -n "$group" ] && [ -n "$mount" ] && [ -e "$mount/memory.reclaim" ]; then
  echo "this host has cgroup v2 with memory.reclaim: the lab's guest shows the unavailable case instead"
  exit 77
fi
source "$(dirname "$0")/../e2e/common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$recover" --kernel 64 > "$work/out" 2> "$work/err"
status=$?
cat "$work/err"
check "exit status 3 (got $status)" [ "$status" -eq 3 ]
check "one line on standard error" [ "$(wc -l < "$work/err")" -eq 1 ]
check "that names the program and says why" grep -q '^mnemora-recover : .*cgroup' "$work/err"
check "nothing on standard output" [ ! -s "$work/out" ]
Summary
