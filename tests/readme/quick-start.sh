#!/bin/sh
# Runs the README's quick start as written, on the shipped examples, in a
# scratch folder where `build` is the build folder and `data` the source's data.
# The first block's `make` built this test already; the package block runs
# with the build's kavrin-batch on the PATH and /usr/lib/kavrin/ read as the
# build's bin folder, where the package's files are.
# usage: quick-start.sh README.md SOURCE_DIR BUILD_DIR
set -eu
readme=$1 source=$2 build=$3
fail() { echo "quick start: $*" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export KAVRIN_ROOT="$scratch/workspace/" KAVRIN_SETTINGS_DIR="$scratch/settings" HOME="$scratch/home"
mkdir -p "$KAVRIN_ROOT" "$KAVRIN_SETTINGS_DIR" "$HOME"

# The code blocks of the "Quick start" section, one file each.
awk -v out="$scratch/block" '
  /^## / { inside = ($0 == "## Quick start") }
  inside && /^```/ { if (open) { open = 0 } else { open = 1; n++ } ; next }
  inside && open { print > (out n) }
' "$readme"
[ -f "$scratch/block1" ] && [ -f "$scratch/block2" ] || fail "the README has no Quick start with two command blocks"
[ "$(head -n 1 "$scratch/block1")" = "make" ] || fail "the first block does not start by building"

check_results() {  # folder
  cd "$1"
  [ -f Plume.kvr ] || fail "$1: no Plume.kvr"
  [ "$(head -c 2 Plume.bmp)" = "BM" ] || fail "$1: Plume.bmp is not a picture"
  [ "$(head -n 1 Plume-profile.csv)" = "x,concentration" ] || fail "$1: no profile"
  [ "$(wc -l < Plume-profile.csv)" -eq 102 ] || fail "$1: the profile does not hold the 101 nodes along X"
  # stdout: the run's project folder, then compare's heading, ten wells, R2 and MAE.
  grep -q '^R2 ' compare.out && grep -q '^MAE ' compare.out || fail "$1: compare printed no R2 and MAE"
  [ "$(grep -c '^[0-9]' compare.out)" -eq 10 ] || fail "$1: compare did not take the ten wells"
}

# From a fresh clone: the lines after `make`, exactly as written.
mkdir "$scratch/clone"
ln -s "$build" "$scratch/clone/build"
ln -s "$source/data" "$scratch/clone/data"
(cd "$scratch/clone" && tail -n +2 "$scratch/block1" > commands.sh && sh -e commands.sh > compare.out) ||
  fail "a command of the first block failed"
(check_results "$scratch/clone") || exit 1

# After installing the package.
mkdir -p "$scratch/installed/bin" "$scratch/installed/here"
ln -s "$build/bin/kavrin-batch" "$scratch/installed/bin/kavrin-batch"
(cd "$scratch/installed/here" && sed "s|/usr/lib/kavrin/|$build/bin/|g" "$scratch/block2" > commands.sh &&
  PATH="$scratch/installed/bin:$PATH" sh -e commands.sh > compare.out) || fail "a command of the package block failed"
(check_results "$scratch/installed/here") || exit 1
echo "quick start: both blocks ran"
