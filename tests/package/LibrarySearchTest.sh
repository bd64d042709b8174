#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The programs never look for their libraries in the folder they are started from: an empty or
# relative run path entry would load a library that anyone who can write that folder put there.
set -u
failures=0
for program in "$@"; do
  paths=$(readelf -d "$program" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p')
  [ -n "$paths" ] || { echo "ok: $(basename "$program") has no run path"; continue; }
  IFS=: read -r -a entries <<<"$paths:"
  for entry in "${entries[@]}"; do
    case "$entry" in
      /*|'$ORIGIN'*) ;;
      *) echo "FAIL: $(basename "$program") searches '${entry:-the current folder}' for its libraries (run path '$paths')"
         failures=$((failures + 1)); break ;;
    esac
  done
done
[ "$failures" -eq 0 ]
