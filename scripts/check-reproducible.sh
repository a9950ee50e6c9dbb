#!/usr/bin/env bash
# Builds the release package twice from this checkout, in two fresh build
# folders of different path lengths, and compares the bytes of the programs
# and of the zip. Prints what differs; exits non-zero on any difference.
# Only what the package needs is built (target release_programs), not the
# tests, with -j2.
set -uo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
work=$(mktemp -d /tmp/lumora-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
trees=("$work/a" "$work/second-build-tree")

build() {
  local tree=$1
  {
    # The preset's toolchain and cache variables, another folder; "package"
    # must not pull in the whole tree first.
    cmake --preset windows -B "$tree" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON &&
      cmake --build "$tree" --target release_programs -j2 &&
      cmake --build "$tree" --target package
  } >"$tree.log" 2>&1 || { echo "reproducible: the build in $tree failed:"; tail -20 "$tree.log"; return 1; }
}
for tree in "${trees[@]}"; do build "$tree" || exit 1; done

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
zip=$(cd "$a" && ls LumoraSearch-*-win64.zip 2>/dev/null | head -1)
compare LumoraSearch.exe "$a/app/LumoraSearch.exe" "$b/app/LumoraSearch.exe"
lumora_a=$(find "$a" -name lumora.exe -not -path '*/_CPack_Packages/*' | head -1)
if [ -n "$lumora_a" ]; then
  compare lumora.exe "$lumora_a" "$b/${lumora_a#"$a"/}"
fi
compare "${zip:-the zip}" "$a/$zip" "$b/$zip"
if [ "$differences" -gt 0 ] && [ -n "$zip" ] && command -v unzip >/dev/null; then
  echo "reproducible: zip listings (a, then b):"
  unzip -lv "$a/$zip"
  unzip -lv "$b/$zip"
fi
seconds=$((SECONDS - start))
if [ "$differences" -gt 0 ]; then
  echo "reproducible: $differences difference(s) between two builds (${seconds} s)"
  exit 1
fi
echo "reproducible: two builds give identical LumoraSearch.exe${lumora_a:+, lumora.exe} and $zip (${seconds} s)"
