# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the lab guest's first process (made by boot.sh, which sets LAB_*): the machine's
# start-up, the scenario, its status for the host, power off. Whatever happens, the guest halts.
: > "$LAB_TMP/started"
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export HOME="$LAB_TMP" TMPDIR="$LAB_TMP" LC_ALL=C.UTF-8
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t cgroup2 cgroup2 /sys/fs/cgroup
# The guest's own runtime folder, not the host's.
mount -t tmpfs -o mode=0755,size=16m tmpfs /run
echo +memory > /sys/fs/cgroup/cgroup.subtree_control
if [ "$LAB_SWAP" = 1 ]; then
  mkswap -f /dev/ubdb >/dev/null 2>&1 && swapon /dev/ubdb
fi
cd "$LAB_TMP"
labStatus=0
sh "$LAB_DIR/scenarios/$LAB_SCENARIO.sh" "$@" || labStatus=$?
echo "$labStatus" > "$LAB_TMP/status"
sync
poweroff -f
