#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: built by CPack from this build tree, unpacked into a scratch root, and its
# files checked by the tools a Debian packager runs.
# Usage: PackageTest.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work"/out/*.deb)
echo "package: $(basename "$deb")"
root=$work/root
dpkg-deb -x "$deb" "$root"

for file in usr/bin/mnemora-xp usr/bin/mnemora-recover \
            usr/share/applications/mnemora-xp.desktop \
            usr/share/metainfo/org.example.MnemoraXP.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/mnemora-xp.svg \
            usr/share/icons/hicolor/48x48/apps/mnemora-xp.png \
            usr/share/man/man1/mnemora-xp.1.gz usr/share/man/man1/mnemora-recover.1.gz \
            usr/share/doc/mnemora-xp/copyright usr/share/doc/mnemora-xp/changelog.gz; do
  [ -f "$root/$file" ] || fail "$file is not in the package"
done

# The downloader module, where the program looks for it: beside it, under the library folder.
module=$(cd "$root" && ls usr/lib/mnemora-xp/mnemora-xp-network.so usr/lib/*/mnemora-xp/mnemora-xp-network.so 2>/dev/null | head -1 || true)
[ -n "$module" ] || fail "the downloader module is not in the package"
dpkg-deb -f "$deb" Depends | grep -q libqt6network6 || fail "the package does not depend on Qt's network library"

[ "$(dpkg-deb -f "$deb" Version)" = 4.0.0 ] || fail "the package's version is $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
# A minimal install has neither Qt's platform plugins nor the fonts the window is laid out for.
for package in libqt6widgets6 qt6-qpa-plugins fonts-liberation; do
  echo "$depends" | grep -Eq "(^|, )$package( |,|$)" || fail "the package does not depend on $package: $depends"
done
dpkg-deb -f "$deb" Recommends | grep -q qt6-translations-l10n || fail "Qt's French texts are not recommended"

# A purge takes the machine hive away; a removal keeps it. Run in a scratch root (DPKG_ROOT, as
# dpkg sets it for --root), never on this machine's own /var/lib.
dpkg-deb -e "$deb" "$work/control"
[ -x "$work/control/postrm" ] || fail "the package has no postrm"
scratch=$work/scratch
for action in remove purge; do
  mkdir -p "$scratch/var/lib/mnemora-xp" && touch "$scratch/var/lib/mnemora-xp/machine.hive"
  DPKG_ROOT=$scratch "$work/control/postrm" "$action" || fail "postrm $action failed"
  case $action in
    remove) [ -e "$scratch/var/lib/mnemora-xp/machine.hive" ] || fail "a removal took the machine hive away" ;;
    purge) [ ! -e "$scratch/var/lib/mnemora-xp" ] || fail "a purge left /var/lib/mnemora-xp" ;;
  esac
done

for program in "$root"/usr/bin/* ${module:+"$root/$module"}; do
  if readelf -S "$program" | grep -Eq '\.symtab|\.debug_info'; then fail "$program is not stripped"; fi
done

desktop-file-validate "$root/usr/share/applications/mnemora-xp.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.MnemoraXP.metainfo.xml" || fail "appstreamcli validate"
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# Lintian's errors fail the package; its warnings and notes are shown.
lintian --allow-root --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
if grep -q '^E:' "$work/lintian.log"; then fail "lintian reports errors"; fi

[ "$failures" -eq 0 ] || exit 1
echo "package checks passed"
