#!/usr/bin/env bash
# Checks the manual pages the build wrote: both render without a warning, the
# synopsis of kavrin-batch(1) is the usage `kavrin-batch --help` prints (every
# command of the tables, the help and version switches after them), and the
# version the pages name is the one every program answers --version with.
# Skipped (status 77) without man.
# Usage: check-manual-pages.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
documents=$build/packaging/documents
bin=$build/bin
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v man > /dev/null || { echo "skipped: no man (Debian's man-db)"; exit 77; }

# The page as a terminal shows it, lines long enough that no form wraps.
rendered() { LC_ALL=C.UTF-8 MANWIDTH=400 MAN_KEEP_FORMATTING= man --warnings -l "$1" 2> "$1.warnings" | col -bx; }
for page in kavrin.1.gz kavrin-batch.1.gz; do
  [ -s "$documents/$page" ] || fail "no $page"
  text=$(rendered "$documents/$page")
  [ ! -s "$documents/$page.warnings" ] || fail "$page renders with warnings: $(cat "$documents/$page.warnings")"
  rm -f "$documents/$page.warnings"
  grep -q "^KAVRIN $version " <<< "$text" || fail "$page does not name version $version"
  grep -q '^SEE ALSO' <<< "$text" || fail "$page has no SEE ALSO"
done

# One line per section's words, blanks collapsed.
section() { awk -v name="$2" '/^[A-Z]/ { inside = ($0 == name); next } inside' <<< "$1" | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'; }
page=$(rendered "$documents/kavrin-batch.1.gz")
rm -f "$documents/kavrin-batch.1.gz.warnings"
# awk reads the help to its end: leaving early could end kavrin-batch by a
# broken pipe, which pipefail reports as a failure.
usage=$("$bin/kavrin-batch" --help | awk '/^  [^ ]/ { done = 1 } !done { print }' | sed 's/^usage: //' | tr -s ' \n' '  ' | sed 's/^ //; s/ $//')
[ "$(section "$page" SYNOPSIS)" = "$usage kavrin-batch --help|--version" ] \
  || fail "the synopsis is not the usage: $(diff <(section "$page" SYNOPSIS | sed 's/ kavrin-batch /\n&/g') <(sed 's/ kavrin-batch /\n&/g' <<< "$usage"))"

desktop=$(rendered "$documents/kavrin.1.gz")
rm -f "$documents/kavrin.1.gz.warnings"
for sibling in kavrin-batch-fit kavrin-batch-pictures kavrin-batch-gis; do
  grep -q "$sibling" <<< "$page" || fail "kavrin-batch(1) does not name its sibling $sibling"
  grep -q "$sibling" <<< "$desktop" || fail "kavrin(1) does not name $sibling"
done
# Each command form is described by its own purpose, never by another's.
[ "$(grep -c 'Converts results into Surfer grids' <<< "$page")" = 1 ] || fail "kavrin-batch(1) gives export grd|txt's purpose to another form"
[ "$(section "$desktop" SYNOPSIS)" = "$("$bin/kavrin" --help | sed 's/^usage: //' | tr -s ' \n' '  ' | sed 's/^ //; s/ $//')" ] \
  || fail "the synopsis of kavrin(1) is not kavrin --help: $(section "$desktop" SYNOPSIS)"

# Every program answers --version alone, without a display, with status 0.
for program in kavrin kavrin-batch kavrin-batch-fit kavrin-batch-pictures kavrin-batch-gis; do
  answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/$program" --version) || fail "$program --version failed"
  [ "$answer" = "$program $version" ] || fail "$program --version answered: $answer"
done
echo "manual pages render; synopsis = usage; version $version everywhere"
