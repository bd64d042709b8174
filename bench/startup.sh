#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of the tray program against a minimal Qt window, on a private X display without a
# tray (the window stays mapped). The last line holds the ratios.
# Usage: bench/startup.sh [MNEMORA_XP] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
app=$(realpath "${1:-$here/build/src/app/mnemora-xp}")
exec "$here/tests/e2e/xsession.sh" --no-tray "$here/build/bench/startup_bench" "$app" "$here/build/bench/minimal_window" "${2:-7}"
