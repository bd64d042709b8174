#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up and builds, then runs every test. A private D-Bus session keeps Qt from starting a
# daemon that outlives the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build
dbus-run-session -- ctest --output-on-failure --timeout 300 "$@"
