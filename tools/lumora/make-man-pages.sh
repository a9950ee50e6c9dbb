#!/bin/sh
# Writes lumora's man pages with help2man, from the program's own --help:
# lumora.1 (the commands' help as sections of their own) and lumora-scan.1,
# lumora-set.1, lumora-open.1, lumora-plan.1, lumora-apply.1, each also
# gzipped as a package installs it.
#   make-man-pages.sh LUMORA VERSION SOURCE_DIR OUTPUT_DIR
# The date in the pages is the commit's, so that two builds agree.
set -eu
lumora=$1 version=$2 source=$3 out=$4
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct 2>/dev/null || echo 0)
fi
export SOURCE_DATE_EPOCH

# man(7) escapes for text shown as it is.
verbatim() { sed 's/\\/\\e/g; s/^[.'"'"']/\\\&&/'; }

{
  for command in scan set open plan apply; do
    echo "[COMMAND: $command]"
    echo ".nf"
    "$lumora" "$command" --help | verbatim
    echo ".fi"
  done
  echo "[SEE ALSO]"
  echo "lumora-scan(1), lumora-set(1), lumora-open(1), lumora-plan(1), lumora-apply(1)"
} >"$out/commands.h2m"
help2man --no-info --no-discard-stderr --version-string "lumora $version" \
  --name "search for network cameras and set them up" \
  --include "$out/commands.h2m" --output "$out/lumora.1" "$lumora"

printf '[SEE ALSO]\nlumora(1)\n' >"$out/see-also.h2m"
for page in "scan:list the network cameras that answer a search" \
            "set:change a network camera's settings" \
            "open:open a network camera's web page in the browser" \
            "plan:write a site plan that gives every network camera found an address" \
            "apply:set up every network camera of a site plan, verify and report"; do
  command=${page%%:*}
  # help2man runs a program: one that is the command.
  printf '#!/bin/sh\nexec "%s" %s "$@"\n' "$lumora" "$command" >"$out/lumora-$command"
  chmod +x "$out/lumora-$command"
  help2man --no-info --no-discard-stderr --version-string "lumora-$command $version" \
    --name "${page#*:}" --include "$out/see-also.h2m" \
    --output "$out/lumora-$command.1" "$out/lumora-$command"
  rm "$out/lumora-$command"
done

for page in lumora lumora-scan lumora-set lumora-open lumora-plan lumora-apply; do
  gzip -9nc "$out/$page.1" >"$out/$page.1.gz"
done
