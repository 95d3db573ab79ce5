#!/usr/bin/env bash
# Builds the Debian package from the build tree with CPack and checks its name,
# its control data and its files: the programs, all their data, the launcher,
# the file type and the icons, everything under /usr and nothing the target's
# package manager makes for itself (desktop caches, maintainer scripts).
# Usage: check-package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
source=$(cd "$(dirname "$0")/.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" || { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$out/kavrin_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kavrin ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
# The dependencies computed from the programs' shared libraries.
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6; do
  grep -qxF "$library" <<< "$depends" || fail "Depends lacks $library: $(field Depends)"
done
field Recommends | grep -q xdg-utils || fail "Recommends lacks xdg-utils: $(field Recommends)"
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
[ "$control" = "control md5sums " ] || fail "control members: $control"
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[ "$owners" = root/root ] || fail "owners: $owners"

root=$out/root
dpkg-deb -x "$deb" "$root"
list=$(cd "$root" && find . -mindepth 1 \( -type f -o -type l \) | sed 's|^\./||' | sort)
expected=(usr/lib/kavrin/kavrin usr/lib/kavrin/kavrin-batch usr/lib/kavrin/kavrin-batch-fit usr/lib/kavrin/kavrin-batch-pictures
          usr/lib/kavrin/kavrin-batch-gis
          usr/share/applications/kavrin.desktop usr/share/mime/packages/kavrin-project.xml
          usr/share/doc/kavrin/copyright usr/share/doc/kavrin/changelog.gz
          usr/share/man/man1/kavrin.1.gz usr/share/man/man1/kavrin-batch.1.gz usr/share/metainfo/io.kavrin.Kavrin.metainfo.xml
          usr/lib/python3/dist-packages/kavrin/__init__.py usr/lib/python3/dist-packages/kavrin/valores.txt)
while read -r file; do expected+=("usr/lib/kavrin/$file"); done < <(cd "$source/data" && find . -type f | sed 's|^\./||')
examples=usr/share/doc/kavrin/examples
while read -r file; do expected+=("$examples/slurm/$file"); done < <(cd "$source/examples/slurm" && find . -type f | sed 's|^\./||')
expected+=("$examples/plume_notebook.py")
for icon in apps/kavrin mimetypes/application-x-kavrin-project; do
  for size in 16 22 24 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${size}x$size/$icon.png"); done
  expected+=("usr/share/icons/hicolor/scalable/$icon.svg")
done
for file in "${expected[@]}"; do
  grep -qxF "$file" <<< "$list" || fail "missing from the package: $file"
done
for program in kavrin kavrin-batch; do
  [ "$(readlink "$root/usr/bin/$program")" = "../lib/kavrin/$program" ] || fail "usr/bin/$program is not the link to ../lib/kavrin/$program"
done
unexpected=$(grep -v -e '^usr/lib/kavrin/' -e '^usr/bin/kavrin$' -e '^usr/bin/kavrin-batch$' -e '^usr/share/applications/kavrin\.desktop$' \
  -e '^usr/share/mime/packages/kavrin-project\.xml$' -e '^usr/share/doc/kavrin/\(copyright\|changelog\.gz\)$' \
  -e '^usr/share/man/man1/kavrin\(-batch\)\?\.1\.gz$' -e "^$examples/slurm/[^/]*\$" -e "^$examples/plume_notebook\.py\$" -e '^usr/share/metainfo/io\.kavrin\.Kavrin\.metainfo\.xml$' -e '^usr/lib/python3/dist-packages/kavrin/\(__init__\.py\|valores\.txt\|_kavrin\.cpython-[0-9]*-x86_64-linux-gnu\.so\)$' -e '^usr/share/icons/hicolor/[^/]*/\(apps/kavrin\|mimetypes/application-x-kavrin-project\)\.\(png\|svg\)$' <<< "$list" || true)
[ -z "$unexpected" ] || fail "unexpected files in the package: $unexpected"

# The package's programs are stripped and bind every symbol at start (with a
# read-only relocation table); the build tree's keep their symbols.
symbols() { readelf -S "$1" | grep -c ' \.symtab ' || true; }
for program in kavrin kavrin-batch kavrin-batch-fit kavrin-batch-pictures kavrin-batch-gis; do
  [ "$(symbols "$root/usr/lib/kavrin/$program")" = 0 ] || fail "usr/lib/kavrin/$program is not stripped"
  [ "$(symbols "$build/bin/$program")" = 1 ] || fail "the build tree's $program lost its symbols"
  [[ "$(readelf -d "$root/usr/lib/kavrin/$program")" == *BIND_NOW* ]] || fail "usr/lib/kavrin/$program does not bind at start"
done
# The Slurm scripts stay runnable where the package puts them.
for script in submit-uncertainty.sh uncertainty-share.sbatch uncertainty-merge.sbatch; do
  [ -x "$root/$examples/slurm/$script" ] || fail "$examples/slurm/$script is not executable"
done
# The Python example runs where the package puts it, on the package's module.
if /usr/bin/python3 -c "import matplotlib, numpy" 2> /dev/null; then
  PYTHONPATH="$root/usr/lib/python3/dist-packages" MPLBACKEND=Agg /usr/bin/python3 "$root/$examples/plume_notebook.py" "$out/figures" \
    > /dev/null || fail "$examples/plume_notebook.py does not run on the package's module"
fi
# The changelog is the project's version's, compressed without a time stamp;
# the copyright is in Debian's machine-readable form.
changelog=$(zcat "$root/usr/share/doc/kavrin/changelog.gz")
[[ "${changelog%%$'\n'*}" == "kavrin ($version) "* ]] || fail "the changelog does not start with version $version: ${changelog%%$'\n'*}"
[ "$(od -An -tu1 -j4 -N4 "$root/usr/share/doc/kavrin/changelog.gz" | tr -d ' ')" = 0000 ] || fail "changelog.gz carries a time stamp"
[ "$(head -n 1 "$root/usr/share/doc/kavrin/copyright")" = 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ] \
  || fail "the copyright is not machine-readable"

# Each PNG icon has the size its folder names (width and height from the PNG header).
while read -r png; do
  size=${png#usr/share/icons/hicolor/}; size=${size%%x*}
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$root/$png")
  [ $(((w0 << 24) + (w1 << 16) + (w2 << 8) + w3)) = "$size" ] && [ $(((h0 << 24) + (h1 << 16) + (h2 << 8) + h3)) = "$size" ] \
    || fail "$png is not $size × $size"
done < <(grep '\.png$' <<< "$list" | grep '^usr/share/icons/')

# The launcher is valid and names what the package holds.
desktop=$root/usr/share/applications/kavrin.desktop
desktop-file-validate "$desktop" | grep -v ': hint: ' && fail "desktop-file-validate complains"
grep -qx 'Exec=kavrin %f' "$desktop" || fail "the launcher does not pass the file to kavrin"
grep -qx 'Icon=kavrin' "$desktop" || fail "the launcher's icon is not kavrin"
grep -qx 'MimeType=application/x-kavrin-project;' "$desktop" || fail "the launcher does not open project files"
grep -q 'type="application/x-kavrin-project"' "$root/usr/share/mime/packages/kavrin-project.xml" || fail "the file type is not defined"
grep -q '<glob pattern="\*\.kvr"/>' "$root/usr/share/mime/packages/kavrin-project.xml" || fail "the file type does not match .kvr"
# The system's Python imports the module from where the package puts it, and computes with it.
grep -q '^usr/lib/python3/dist-packages/kavrin/_kavrin\.cpython-.*\.so$' <<< "$list" || fail "missing from the package: the Python extension"
field Depends | grep -q python3-numpy || fail "Depends lacks python3-numpy: $(field Depends)"
[ "$(/usr/bin/python3 -I -c 'import sys; sys.path.insert(0, sys.argv[1]); import kavrin; print(kavrin.Model(C0=1000).field(2500.0).shape)' "$root/usr/lib/python3/dist-packages" 2>&1)" = "(61, 101)" ] \
  || fail "the packaged Python module does not import or compute"
echo "$(basename "$deb"): $(grep -c . <<< "$list") files, Depends: $(field Depends)"
