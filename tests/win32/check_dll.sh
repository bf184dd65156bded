#!/usr/bin/env bash
# What a host sees of KORVAL.dll: the eight functions of the interface and
# the two record-text helpers under their plain names
# (no @n of the 32-bit stdcall convention, nothing else exported), and
# imports from system DLLs only, so that the file alone beside the host's
# program is enough.
set -euo pipefail
objdump=$1
dll=$2

dump=$("$objdump" -p "$dll")

exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && /^[ \t]*\[/ {print $NF; next} on {on = 0}' <<<"$dump" | sort)
expected=$(printf '%s\n' PrintTiketFormular SetTiketFormularExtensions SetTiketFormularNotify \
  SetTiketFormularParams SetTiketFormularParams2 SetTiketFormularParamsEx SetVer2 ShowTiketFormular \
  korval_get_text korval_set_text | sort)
if [ "$exports" != "$expected" ]; then
  echo "exports differ from the host interface:" >&2
  diff <(echo "$expected") <(echo "$exports") >&2 || true
  exit 1
fi

# The DLLs every Windows since XP has; nothing of the compiler's runtime.
system='^(kernel32|user32|gdi32|winspool|comdlg32|ole32|oleaut32|windowscodecs|advapi32|msvcrt|shell32|comctl32|shlwapi|ws2_32|bcrypt|api-ms-win-[a-z0-9-]+)\.(dll|drv)$'
bad=0
while read -r name; do
  if ! grep -qiE "$system" <<<"$name"; then
    echo "imports a DLL that is not part of Windows: $name" >&2
    bad=1
  fi
done < <(awk '/DLL Name:/ {print $3}' <<<"$dump")
[ $bad -eq 0 ] || exit 1
echo "exports: $(echo $exports)"
echo "imports: $(awk '/DLL Name:/ {printf "%s ", $3}' <<<"$dump")"
