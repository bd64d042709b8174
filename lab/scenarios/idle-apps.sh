# SPDX-License-Identifier: GPL-3.0-or-later
# Idle applications: COUNT processes holding MB MiB each, written once, then idle; then
# mnemora-recover AMOUNT. usage: idle-apps.sh [COUNT MB AMOUNT] (default 3 200 1024)
set -eu
. "$LAB_DIR/measure.sh"
StartHolders "${1:-3}" "${2:-200}"
Snapshot before
MeasuredRun "$recover" "${3:-1024}"
Snapshot after
