#!/bin/sh
# Writes a help2man include file with each command's --help as a section of
# its own, so the man page documents the commands and not just the top level.
#   man-commands.sh LUMORA OUTPUT
lumora=$1 out=$2
{
  for command in scan set open; do
    echo "[COMMAND: $command]"
    echo ".nf"
    "$lumora" "$command" --help | sed 's/\\/\\e/g; s/^[.'"'"']/\\\&&/'
    echo ".fi"
  done
} >"$out"
