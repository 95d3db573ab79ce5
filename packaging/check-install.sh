#!/usr/bin/env bash
# Installs the build twice, with --prefix into a fresh folder and staged with
# DESTDIR, and checks that every file and link lands inside the chosen place
# and that the installed programs find their data through their links.
# Usage: check-install.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The user's own folders point into the test folder too, so that a write
# there would show.
export HOME=$root/home XDG_DATA_HOME=$root/home/.local/share XDG_CONFIG_HOME=$root/home/.config
mkdir -p "$HOME"

# Everything under $1 other than the paths under $2 (both absolute).
outside() { find "$1" -mindepth 1 | while read -r path; do
  case $path/ in "$2"/*|"${2%/*}"/) ;; *) echo "$path" ;; esac; done; }

# The links in bin are relative and reach the programs in lib/kavrin.
check_links() {
  for program in kavrin kavrin-batch; do
    [ -L "$1/bin/$program" ] || fail "$1/bin/$program is not a link"
    [ "$(readlink "$1/bin/$program")" = "../lib/kavrin/$program" ] || fail "$program link: $(readlink "$1/bin/$program")"
    [ -x "$1/lib/kavrin/$program" ] || fail "$1/lib/kavrin/$program missing"
  done
}

prefix=$root/prefix
cmake --install "$build" --prefix "$prefix" > "$root/prefix.log"
while read -r path; do
  case $path in "$prefix"/*) ;; *) fail "the install manifest names $path" ;; esac
done < "$build/install_manifest.txt"
check_links "$prefix"
[ -z "$(find "$HOME" -mindepth 1)" ] || fail "written into the home folder: $(find "$HOME" -mindepth 1)"
[ -z "$(outside "$root" "$prefix" | grep -v -e '\.log$' -e "^$HOME\$")" ] || fail "written outside the prefix: $(outside "$root" "$prefix")"

# The desktop's caches are written in the prefix, where their tools exist.
if command -v update-mime-database > /dev/null; then
  [ -f "$prefix/share/mime/application/x-kavrin-project.xml" ] || fail "the file type is not registered in the prefix"
fi
if command -v update-desktop-database > /dev/null; then
  grep -q '^application/x-kavrin-project=kavrin.desktop;' "$prefix/share/applications/mimeinfo.cache" \
    || fail "the launcher is not registered for the file type"
fi

# The installed program runs through its link and finds its data.
folder=$(KAVRIN_ROOT=$root/work KAVRIN_DECIMAL_SEPARATOR=. "$prefix/bin/kavrin-batch" run --name Check | tail -n 1)
[ "${folder%/}" = "$root/work/Check" ] || fail "kavrin-batch answered: $folder"
[ -s "$root/work/Check/T2500.txt" ] || fail "kavrin-batch wrote no results"
# The fit and the pictures are handed to the programs beside the real
# kavrin-batch: without options they answer with the usage (status 2), not
# with "cannot start" (status 1).
for command in fit map; do
  status=0; "$prefix/bin/kavrin-batch" $command > /dev/null 2>&1 || status=$?
  [ $status = 2 ] || fail "kavrin-batch $command did not reach its program (status $status)"
done

# Staged: nothing outside DESTDIR + prefix, and no desktop caches in the stage.
stage=$root/stage
DESTDIR=$stage cmake --install "$build" --prefix /opt/kavrin > "$root/stage.log"
[ -z "$(outside "$stage" "$stage/opt/kavrin")" ] || fail "staged outside the prefix: $(outside "$stage" "$stage/opt/kavrin")"
check_links "$stage/opt/kavrin"
caches=$(find "$stage" -name mime.cache -o -name mimeinfo.cache -o -name icon-theme.cache -o -path '*/share/mime/application')
[ -z "$caches" ] || fail "desktop caches in the stage: $caches"
echo "install stays inside the prefix and the stage"
