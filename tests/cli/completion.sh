#!/usr/bin/env bash
# The bash completion of the korval program against the built program:
# commands, a command's options read from its usage, and values of options.
set -euo pipefail
program=$1
completion=$2

# shellcheck source=/dev/null
. "$completion"

fail() { echo "FAILED: $*" >&2; exit 1; }

# Completes the last word of the line given.
complete_line() {
  read -r -a COMP_WORDS <<<"$1"
  if [ "${1: -1}" = " " ]; then COMP_WORDS+=(""); fi
  COMP_WORDS[0]=$program
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _korval
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}

[ "$(complete -p korval)" = "complete -o default -F _korval korval" ] || fail "not registered"
got=$(complete_line "korval pr")
[ "$got" = "print printers " ] || fail "commands for 'pr': [$got]"
got=$(complete_line "korval ca")
[ "$got" = "calibrate " ] || fail "commands for 'ca': [$got]"
got=$(complete_line "korval help sh")
[ "$got" = "sheets " ] || fail "help's command: [$got]"
got=$(complete_line "korval print --p")
[ "$got" = "--pdf --png --printer " ] || fail "print's options for '--p': [$got]"
got=$(complete_line "korval sheets ")
[ "$got" = "--find --help --paper " ] || fail "sheets' options: [$got]"
got=$(complete_line "korval print --encoding ")
[ "$got" = "cp1250 utf-8 " ] || fail "encodings: [$got]"
got=$(complete_line "korval design --page p")
[ "$got" = "preview " ] || fail "pages: [$got]"
echo "completion: ok"
