#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The longest wait for the event loop during a 1024 MB run of the tray program, hidden and shown,
# on a private X display with a tray host. Usage: bench/event_gap.sh [build/bench/event_gap_bench]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bench=$(realpath "${1:-$here/build/bench/event_gap_bench}")
exec "$here/tests/e2e/xsession.sh" "$bench"
