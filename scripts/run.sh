#!/usr/bin/env bash
# Sets up and builds, then recovers memory once from the terminal (half of the installed memory,
# or what the arguments say: see build/src/cli/mnemora-recover --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >/dev/null
exec build/src/cli/mnemora-recover "$@"
