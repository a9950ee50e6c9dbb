#!/usr/bin/env bash
# Installs what the build, the tests and the demo need from Debian's packages,
# and only when something is missing. Needs root.
set -euo pipefail
packages=(
  cmake make g++ libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcli11-dev nlohmann-json3-dev help2man perl
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  wine wine64 xvfb x11-utils imagemagick
  iproute2 util-linux procps
  python3 tshark
  dpkg-dev file lintian unzip
  clang libclang-rt-14-dev
  libreoffice-calc
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi
if [ "$(id -u)" != 0 ]; then
  echo "install-deps: missing ${missing[*]}; run this as root to install them" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
