#!/usr/bin/env bash
# Checks the release packages in DIR (as check-reproducible.sh --keep leaves
# them): the .deb holds what a Debian user expects where Debian puts it, its
# lumora runs from an unpacked root and says no more than its version, and
# lintian finds no error; the zip's exes carry no debug information.
# Only --version and --help of a packaged program run: it has no lab guard.
#   check-packages.sh DIR
set -uo pipefail
dir=$(cd "$1" && pwd) || exit 1
failures=0
fail() { echo "packages: $*"; failures=$((failures + 1)); }

deb=$(ls "$dir"/lumora_*_amd64.deb 2>/dev/null | head -1)
zip=$(ls "$dir"/LumoraSearch-*-win64.zip 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no lumora_*_amd64.deb in $dir"
[ -n "$zip" ] || fail "no LumoraSearch-*-win64.zip in $dir"
work=$(mktemp -d /tmp/lumora-package-check.XXXXXX)
trap 'rm -rf "$work"' EXIT

if [ -n "$deb" ]; then
  version=$(dpkg-deb --field "$deb" Version)
  [ "$(basename "$deb")" = "lumora_${version}_amd64.deb" ] || fail "$(basename "$deb") does not carry version $version"
  # Where Debian's Wireshark loads global Lua plugins, as it says itself.
  lua_dir=/usr/lib/x86_64-linux-gnu/wireshark/plugins
  if command -v tshark >/dev/null; then
    lua_dir=$(tshark -G folders 2>/dev/null | sed -n 's/^Global Lua Plugins:[[:space:]]*//p')
  fi
  # Unpacked into a root of its own, as dpkg would install it.
  dpkg-deb --extract "$deb" "$work/root"
  # A man page for lumora and one for each command its help lists.
  commands=$("$work/root/usr/bin/lumora" --help 2>&1 | sed -n '/^Subcommands:/,/^$/s/^  \([a-z]\{1,\}\) .*/\1/p')
  [ -n "$commands" ] || fail "the packaged lumora's help lists no commands"
  pages=/usr/share/man/man1/lumora.1.gz
  for command in $commands; do pages="$pages /usr/share/man/man1/lumora-$command.1.gz"; done
  contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }' | sed 's|^\./|/|')
  for path in /usr/bin/lumora $pages \
              /usr/share/bash-completion/completions/lumora \
              "$lua_dir/lumora.lua" \
              /usr/share/doc/lumora/copyright /usr/share/doc/lumora/changelog.gz; do
    grep -qxF "$path" <<<"$contents" || fail ".deb lacks $path"
  done
  depends=$(dpkg-deb --field "$deb" Depends)
  grep -q 'libc6 (>=' <<<"$depends" || fail "Depends is not computed from the binary: \"$depends\""

  said=$("$work/root/usr/bin/lumora" --version 2>&1)
  [ "$said" = "lumora $version" ] || fail "the packaged lumora --version says \"$said\", not \"lumora $version\""
  "$work/root/usr/bin/lumora" --help 2>&1 | grep -q "development build" &&
    fail "the packaged lumora's help speaks of a development build"
  zcat "$work/root/usr/share/doc/lumora/changelog.gz" | head -1 | grep -qF "lumora ($version)" ||
    fail "the changelog's newest entry is not $version"

  if command -v lintian >/dev/null; then
    # lintian warns when run as root; the package is only read.
    lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || { fail "lintian reports errors:"; cat "$work/lintian.txt"; }
  else
    fail "lintian is not installed (scripts/install-deps.sh)"
  fi
fi

if [ -n "$zip" ]; then
  mkdir "$work/zip" && (cd "$work/zip" && unzip -q "$zip")
  for exe in LumoraSearch.exe lumora.exe; do
    file=$(find "$work/zip" -name "$exe" | head -1)
    if [ -z "$file" ]; then
      fail "the zip lacks $exe"
    elif x86_64-w64-mingw32-objdump -h "$file" | grep -q '\.debug_'; then
      fail "the zip's $exe carries debug sections"
    fi
  done
fi

[ "$failures" -eq 0 ] || exit 1
echo "packages: $(basename "$deb") and $(basename "$zip") hold what they should; lintian finds no error"
