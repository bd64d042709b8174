#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One of the lab's named scenarios, with the guest it is meant for.
# usage: lab/run.sh NAME [boot.sh options]; lab/run.sh --list
# NAME: idle-apps, no-swap, v2-max, v2-high, v2-no-swap, small, kernel.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
names=(idle-apps no-swap v2-max v2-high v2-no-swap small kernel)
if [ "${1:-}" = --list ]; then
  printf '%s\n' "${names[@]}"
  exit 0
fi
name=${1:?usage: lab/run.sh NAME [boot.sh options]}
shift
case $name in
  idle-apps) exec "$here/boot.sh" --mem 1024 --swap 1024 "$@" idle-apps 3 200 1024 ;;
  no-swap) exec "$here/boot.sh" --mem 1024 --no-swap "$@" idle-apps 3 200 1024 ;;
  v2-max) exec "$here/boot.sh" --mem 1024 --swap 1024 "$@" v2-limit max ;;
  v2-high) exec "$here/boot.sh" --mem 1024 --swap 1024 "$@" v2-limit high ;;
  v2-no-swap) exec "$here/boot.sh" --mem 1024 --swap 1024 "$@" v2-limit no-swap ;;
  small) exec "$here/boot.sh" --mem 512 --swap 512 "$@" idle-apps 3 100 1024 ;;
  kernel) exec "$here/boot.sh" --mem 1024 --swap 1024 "$@" kernel 3 200 1024 ;;
  *) echo "run.sh : pas de scénario « $name » ($(IFS=' '; echo "${names[*]}"))" >&2; exit 2 ;;
esac
