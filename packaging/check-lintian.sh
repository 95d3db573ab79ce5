#!/usr/bin/env bash
# Builds the Debian package from the build tree with CPack and runs Debian's
# checker on it: no error and no warning (the informational tags are listed).
# Skipped (status 77) without lintian.
# Usage: check-lintian.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v lintian > /dev/null || { echo "skipped: no lintian"; exit 77; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" || { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$out/kavrin_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$out")"
# Lintian's exit status only says whether it ran; its tags say what it found.
lintian --display-info --tag-display-limit 0 "$deb" > "$out/lintian.log" 2>&1 || true
grep -v -e '^running with root privileges' -e '^N: ' "$out/lintian.log" | grep -v '^$' || true
grep -q '^[EW]: ' "$out/lintian.log" && fail "lintian reports errors or warnings: $(grep '^[EW]: ' "$out/lintian.log")"
echo "lintian: no error, no warning on $(basename "$deb")"
