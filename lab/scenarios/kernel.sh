# SPDX-License-Identifier: GPL-3.0-or-later
# Recovery by the kernel, as a desktop user runs it: the groups laid out as systemd lays out a
# user's (user.slice/user-UID.slice/user@UID.service, which belongs to root, and the user's own
# app.slice, session.slice and background.slice below it), COUNT idle processes of MB MiB in
# app.slice, then "mnemora-recover --kernel AMOUNT" run by that user from a scope of app.slice.
# First another user tries the same from the same place: it may not touch the group.
# usage: kernel.sh [COUNT MB AMOUNT] (default 3 200 1024)
set -eu
. "$LAB_DIR/measure.sh"
user=nobody
uid=$(id -u "$user")
service=/sys/fs/cgroup/user.slice/user-$uid.slice/user@$uid.service
mkdir -p "$service"
echo +memory > /sys/fs/cgroup/user.slice/cgroup.subtree_control
echo +memory > "/sys/fs/cgroup/user.slice/user-$uid.slice/cgroup.subtree_control"
echo +memory > "$service/cgroup.subtree_control"
# systemd's delegation: the folder and its process files go to the user, its limits stay root's.
chown "$user" "$service" "$service/cgroup.procs" "$service/cgroup.subtree_control" "$service/cgroup.threads"
for slice in app.slice session.slice background.slice; do
  setpriv --reuid="$uid" --regid="$(id -g "$user")" --clear-groups mkdir "$service/$slice"
done
setpriv --reuid="$uid" --regid="$(id -g "$user")" --clear-groups sh -c "echo +memory > '$service/app.slice/cgroup.subtree_control'"
for scope in holders.scope terminal.scope; do
  setpriv --reuid="$uid" --regid="$(id -g "$user")" --clear-groups mkdir "$service/app.slice/$scope"
done

StartHolders "${1:-3}" "${2:-200}" "$service/app.slice/holders.scope" "$user"
Snapshot before

other=daemon
rssBefore=$(for pid in $holders; do StatusKb "$pid" VmRSS; done | awk '{ s += $1 } END { print s }')
otherStatus=0
sh -c 'echo $$ > "$1/cgroup.procs" && shift && exec "$@"' other "$service/app.slice/terminal.scope" \
  setpriv --reuid="$(id -u $other)" --regid="$(id -g $other)" --clear-groups \
  "$recover" --kernel "${3:-1024}" > "$LAB_TMP/other.out" 2> "$LAB_TMP/other.err" || otherStatus=$?
sed 's/^/another user: /' "$LAB_TMP/other.err"
rssAfter=$(for pid in $holders; do StatusKb "$pid" VmRSS; done | awk '{ s += $1 } END { print s }')
Figure other_status "$otherStatus"
Figure other_lines "$(wc -l < "$LAB_TMP/other.err")"
Figure other_moved_mb $(( (rssBefore - rssAfter) / 1024 ))

MeasuredRun --as "$user" --in "$service/app.slice/terminal.scope" "$recover" --kernel "${3:-1024}"
Snapshot after
