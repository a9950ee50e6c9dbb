#!/usr/bin/env bash
# Builds both release packages twice from this checkout, in two fresh build
# folders of different path lengths: the Debian package (preset release) and
# the Windows zip (preset windows-release). Compares the bytes of the
# programs and of the packages; prints what differs and exits non-zero on
# any difference. Only what the packages hold is built (the release presets
# build no tests), with -j2.
#   check-reproducible.sh [--keep DIR]   DIR receives the first build's packages
set -uo pipefail
cd "$(dirname "$0")/.."
keep=""
if [ "${1:-}" = --keep ]; then keep=$2; fi
start=$SECONDS
work=$(mktemp -d /tmp/lumora-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
trees=("$work/a" "$work/second-build-tree")

build() {  # preset, tree
  local preset=$1 tree=$2/$1
  {
    # The preset's toolchain and cache variables, another folder.
    cmake --preset "$preset" -B "$tree" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON &&
      cmake --build "$tree" --target release_programs -j2 &&
      cmake --build "$tree" --target package
  } >"$tree.log" 2>&1 || { echo "reproducible: the $preset build in $tree failed:"; tail -20 "$tree.log"; return 1; }
}
for tree in "${trees[@]}"; do
  mkdir -p "$tree"
  build release "$tree" && build windows-release "$tree" || exit 1
done

differences=0
compare() {  # name, file in the first tree, file in the second
  if [ ! -f "$2" ] || [ ! -f "$3" ]; then
    echo "reproducible: $1 is missing from a build"
    differences=$((differences + 1))
  elif ! cmp -s "$2" "$3"; then
    echo "reproducible: $1 differs ($(cmp -l "$2" "$3" | wc -l) bytes; first differences: offset, octal bytes):"
    cmp -l "$2" "$3" | head -5
    differences=$((differences + 1))
  fi
}
a=${trees[0]} b=${trees[1]}
zip=$(cd "$a/windows-release" && ls LumoraSearch-*-win64.zip 2>/dev/null | head -1)
deb=$(cd "$a/release" && ls lumora_*.deb 2>/dev/null | head -1)
compare LumoraSearch.exe "$a/windows-release/app/LumoraSearch.exe" "$b/windows-release/app/LumoraSearch.exe"
compare lumora.exe "$a/windows-release/tools/lumora/lumora.exe" "$b/windows-release/tools/lumora/lumora.exe"
compare "${zip:-the zip}" "$a/windows-release/$zip" "$b/windows-release/$zip"
compare lumora "$a/release/tools/lumora/lumora" "$b/release/tools/lumora/lumora"
compare "${deb:-the .deb}" "$a/release/$deb" "$b/release/$deb"
if [ "$differences" -gt 0 ] && [ -n "$zip" ] && command -v unzip >/dev/null; then
  echo "reproducible: zip listings (a, then b):"
  unzip -lv "$a/windows-release/$zip"
  unzip -lv "$b/windows-release/$zip"
fi
if [ "$differences" -gt 0 ] && [ -n "$deb" ]; then
  echo "reproducible: .deb listings (a, then b):"
  dpkg-deb --contents "$a/release/$deb"
  dpkg-deb --contents "$b/release/$deb"
fi
if [ -n "$keep" ]; then
  mkdir -p "$keep" && cp "$a/windows-release/$zip" "$a/release/$deb" "$keep/" 2>/dev/null
fi
seconds=$((SECONDS - start))
if [ "$differences" -gt 0 ]; then
  echo "reproducible: $differences difference(s) between two builds (${seconds} s)"
  exit 1
fi
echo "reproducible: two builds give identical programs, $deb and $zip (${seconds} s)"
