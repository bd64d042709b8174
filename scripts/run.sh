#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up and builds, then starts the tray program on a desktop, or recovers memory once from the
# terminal where there is no display (see build/src/cli/mnemora-recover --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >/dev/null
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/mnemora-xp
fi
exec build/src/cli/mnemora-recover "$@"
