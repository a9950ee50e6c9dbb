#!/usr/bin/env bash
# Reads the resources back out of a built exe (windres prints them as .rc
# text) and checks what Windows will see: the manifest's entries, the
# version resource with the project's version, the icon.
#   check-exe-resources.sh WINDRES EXE VERSION   (VERSION as 2.6.1.0)
set -uo pipefail
windres=$1 exe=$2 version=$3
rc=$("$windres" -i "$exe" -O rc) || { echo "cannot read the resources of $exe"; exit 1; }

# windres prints the manifest as quoted pieces cut at fixed widths, with
# doubled quotes and \n escapes: join them back into the XML text.
manifest=$(printf '%s\n' "$rc" | awk '
  /^1 24 / { inside = 1; next }
  inside && /^END/ { exit }
  inside && /^  "/ { sub(/^  "/, ""); sub(/"$/, ""); printf "%s", $0 }' |
  sed -e 's/""/"/g' -e 's/\\n/\n/g')

failures=0
expect() {  # description, text, fixed string that must be in it
  if ! grep -qF -- "$3" <<<"$2"; then echo "FAIL: $1: missing $3"; failures=$((failures + 1)); fi
}
reject() {
  if grep -qF -- "$3" <<<"$2"; then echo "FAIL: $1: must not carry $3"; failures=$((failures + 1)); fi
}

[ -n "$manifest" ] || { echo "FAIL: no RT_MANIFEST resource with ID 1"; exit 1; }
expect "common controls 6" "$manifest" 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'
expect "common controls 6" "$manifest" 'publicKeyToken="6595b64144ccf1df"'
expect "DPI awareness" "$manifest" '>PerMonitorV2, PerMonitor</dpiAwareness>'
expect "DPI awareness before Windows 10" "$manifest" '>true/pm</dpiAware>'
expect "execution level" "$manifest" 'level="asInvoker"'
for os in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
          1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  expect "supported OS" "$manifest" "<supportedOS Id=\"{$os}\"/>"
done
expect "manifest identity" "$manifest" "version=\"$version\""
reject "code page" "$manifest" "activeCodePage"
# The XML must survive the round trip as a whole document.
expect "manifest end" "$manifest" "</assembly>"

binary=${version//./, }
expect "version resource" "$rc" "FILEVERSION $binary"
expect "version resource" "$rc" "PRODUCTVERSION $binary"
expect "version resource" "$rc" "VALUE \"FileVersion\", \"$version\""
expect "version resource" "$rc" "VALUE \"ProductVersion\", \"$version\""
expect "version resource" "$rc" 'VALUE "ProductName", "Lumora Search"'
expect "version resource" "$rc" 'VALUE "OriginalFilename", "LumoraSearch.exe"'
for key in FileDescription CompanyName LegalCopyright; do
  expect "version resource" "$rc" "VALUE \"$key\", \""
done
expect "icon" "$rc" "RT_GROUP_ICON"
expect "icon sizes" "$rc" "Has 4 elements"

if [ "$failures" -gt 0 ]; then echo "$failures resource check(s) failed in $exe"; exit 1; fi
echo "resources of $exe: manifest, version $version and icon as expected"
