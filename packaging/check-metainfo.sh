#!/usr/bin/env bash
# Checks the AppStream description the package installs: Debian's validator
# accepts it (without looking anything up on the network), and it names the
# launcher the package holds, the ".kvr" file type, the project's version and
# its texts in both languages. Skipped (status 77) without appstreamcli.
# Usage: check-metainfo.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
source=$(cd "$(dirname "$0")/.." && pwd)
metainfo=$build/packaging/documents/io.kavrin.Kavrin.metainfo.xml
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v appstreamcli > /dev/null || { echo "skipped: no appstreamcli (Debian's appstream)"; exit 77; }

[ -s "$metainfo" ] || fail "no $metainfo"
appstreamcli validate --no-net --no-color "$metainfo" || fail "appstreamcli does not accept $(basename "$metainfo")"
launcher=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ -f "$source/packaging/$launcher" ] || fail "the launcher $launcher is not the package's"
mime=$(sed -n 's|.*<mime-type type="\([^"]*\)".*|\1|p' "$source/packaging/kavrin-project.xml")
grep -qF "<mediatype>$mime</mediatype>" "$metainfo" || fail "the file type $mime is not provided"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "no release $version"
for part in summary p caption; do
  grep -q "<$part xml:lang=\"pt-BR\">" "$metainfo" || fail "no Portuguese <$part>"
done
grep -q '<screenshot type="default">' "$metainfo" || fail "no default screenshot"
echo "$(basename "$metainfo") is valid"
