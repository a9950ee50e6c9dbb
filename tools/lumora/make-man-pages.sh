#!/bin/sh
# Writes lumora's man pages with help2man, from the program's own --help:
# lumora.1 (the commands' help as sections of their own) and, for each
# COMMAND:NAME, lumora-COMMAND.1 with NAME as its one-line description; each
# also gzipped as a package installs it.
#   make-man-pages.sh LUMORA VERSION SOURCE_DIR OUTPUT_DIR COMMAND:NAME...
# The date in the pages is the commit's, so that two builds agree.
set -eu
lumora=$1 version=$2 source=$3 out=$4
shift 4
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct 2>/dev/null || echo 0)
fi
export SOURCE_DATE_EPOCH

# man(7) escapes for text shown as it is.
verbatim() { sed 's/\\/\\e/g; s/^[.'"'"']/\\\&&/'; }

see_also=""
{
  for page in "$@"; do
    command=${page%%:*}
    echo "[COMMAND: $command]"
    echo ".nf"
    "$lumora" "$command" --help | verbatim
    echo ".fi"
    see_also="$see_also${see_also:+, }lumora-$command(1)"
  done
  echo "[SEE ALSO]"
  echo "$see_also"
} >"$out/commands.h2m"
help2man --no-info --no-discard-stderr --version-string "lumora $version" \
  --name "search for network cameras and set them up" \
  --include "$out/commands.h2m" --output "$out/lumora.1" "$lumora"
gzip -9nc "$out/lumora.1" >"$out/lumora.1.gz"

printf '[SEE ALSO]\nlumora(1)\n' >"$out/see-also.h2m"
for page in "$@"; do
  command=${page%%:*}
  # help2man runs a program: one that is the command.
  printf '#!/bin/sh\nexec "%s" %s "$@"\n' "$lumora" "$command" >"$out/lumora-$command"
  chmod +x "$out/lumora-$command"
  help2man --no-info --no-discard-stderr --version-string "lumora-$command $version" \
    --name "${page#*:}" --include "$out/see-also.h2m" \
    --output "$out/lumora-$command.1" "$out/lumora-$command"
  rm "$out/lumora-$command"
  gzip -9nc "$out/lumora-$command.1" >"$out/lumora-$command.1.gz"
done
