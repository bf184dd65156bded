#!/usr/bin/env bash
# What a host on Linux can bind to in libkorval: exactly the functions the
# header declares KORVAL_API, and nothing of the C++ inside it (korval::, Qt,
# the C++ library's templates), which a host could otherwise bind to or
# interpose.
#   exports.sh HEADER LIBRARY
set -euo pipefail
header=$1
library=$2

# The header's KORVAL_API declarations, by name: comments and preprocessor
# lines (the macro's own definitions) dropped, declarations spanning lines
# read whole.
expected=$(perl -0777 -ne '
  s{/\*.*?\*/}{}gs; s{//[^\n]*}{}g; s{^[ \t]*#[^\n]*}{}mg;
  print "$1\n" while /\bKORVAL_API\b[^;{}]*?\b([A-Za-z_]\w*)\s*\(/g;' "$header" | sort)
if [ -z "$expected" ]; then
  echo "no KORVAL_API function found in $header" >&2
  exit 1
fi

actual=$(nm -D --defined-only "$library" | awk '{print $NF}' | sort)
if [ "$actual" != "$expected" ]; then
  echo "$library exports other functions than $header declares KORVAL_API:" >&2
  missing=$(comm -23 <(echo "$expected") <(echo "$actual"))
  extra=$(comm -13 <(echo "$expected") <(echo "$actual"))
  [ -z "$missing" ] || echo "not exported: $(echo $missing)" >&2
  if [ -n "$extra" ]; then
    echo "exported besides ($(wc -l <<<"$extra") symbols), for instance:" >&2
    head -20 <<<"$extra" | c++filt | sed 's/^/  /' >&2
    demangled=$(c++filt <<<"$extra")
    echo "of korval::: $(grep -c 'korval::' <<<"$demangled" || true)," \
         "of Qt: $(grep -cE '\bQ[A-Z]|\bqt_|\bQt::' <<<"$demangled" || true)" >&2
  fi
  exit 1
fi
echo "exports: $(echo $actual)"
