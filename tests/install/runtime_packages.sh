#!/usr/bin/env bash
# `scripts/install-deps --runtime` installs what running KORVAL needs on a
# machine without the build: the package of every library that libkorval and
# the program link, of the Qt platform plugins they start with, and of the
# fonts labels are drawn with, is named or comes with a named one. Every name is a package of this machine, so a
# misspelt one shows here, not on a shop's machine.
#   runtime_packages.sh SOURCE_DIR BINARY...
set -euo pipefail
source_dir=$1
shift
fail() { echo "FAILED: $*" >&2; exit 1; }

listed=$("$source_dir/scripts/install-deps" --runtime --list)
[ -n "$listed" ] || fail "install-deps --runtime names no package"
installed=$(xargs dpkg-query -W -f='${Package} ${Status}\n' <<<"$listed" 2>/dev/null |
  awk '$NF == "installed" {print $1}' || true)
while read -r package; do
  grep -qxF "${package%%:*}" <<<"$installed" ||
    fail "install-deps --runtime names $package, which is not installed here"
done <<<"$listed"

source "$(dirname "$0")/packages.sh"

# What has to come from a listed package, as FILE|WHAT.
required=()
for binary in "$@"; do
  while read -r soname path; do
    # The sanitizer build's runtimes belong to that build alone.
    case $soname in libasan.so.* | libubsan.so.* | liblsan.so.* | libtsan.so.*) continue ;; esac
    [ "$path" != not-found ] || fail "$soname of $binary is not found"
    required+=("$path|$soname of $(basename "$binary")")
  done < <(linked_libraries "$binary")
done

# Qt starts no application without a platform plugin: xcb on a desktop,
# offscreen without a display (the program's printing and pictures).
qt_core=$(linked_libraries "$1" | awk '$1 ~ /^libQt6Core\.so/ {print $2}')
plugins=$(dirname "$(readlink -f "$qt_core")")/qt6/plugins/platforms
for plugin in xcb offscreen; do
  [ -f "$plugins/libq$plugin.so" ] || fail "no Qt platform plugin $plugin in $plugins"
  required+=("$plugins/libq$plugin.so|the Qt platform plugin $plugin")
done

# The fonts the Qt canvas draws Windows fonts and its fall-backs with, and
# the one libwmf draws the texts of metafiles with.
for family in "Liberation Sans" "Liberation Serif" "Liberation Mono" "DejaVu Sans" "Nimbus Sans"; do
  grep -qF "$family" <<<"$(fc-match -f '%{family}' "$family")" || fail "no font $family here"
  required+=("$(fc-match -f '%{file}' "$family")|the font $family")
done

# What the listed packages bring with them: their dependencies, and theirs.
# (A build without --as-needed, the sanitizer build, links libraries of Qt's
# and libwmf's own dependencies too.)
brought=$(dpkg-query -W -f='${Package}|${Depends}, ${Pre-Depends}\n' | awk -F'|' -v listed="$listed" '
  { n = split($2, alternatives, /[,|]/)
    for (i = 1; i <= n; i++) {
      name = alternatives[i]; sub(/^ */, "", name); sub(/[ (:].*/, "", name)
      if (name != "") depends[$1] = depends[$1] " " name
    } }
  END {
    n = split(listed, queue, "\n")
    for (i = 1; i <= n; i++) seen[queue[i]] = 1
    for (i = 1; i <= n; i++) {
      m = split(depends[queue[i]], names, " ")
      for (j = 1; j <= m; j++) if (!(names[j] in seen)) { seen[names[j]] = 1; queue[++n] = names[j] }
    }
    for (name in seen) print name
  }')

read_owners "${required[@]%%|*}"
for entry in "${required[@]}"; do
  file=${entry%%|*}
  what=${entry#*|}
  package=$(owner_of "$file")
  [ -n "$package" ] || fail "no installed package has $file ($what)"
  grep -qxF "$package" <<<"$brought" ||
    fail "$what comes from $package, which install-deps --runtime neither names nor brings"
done
echo "install-deps --runtime names: $(echo $listed)"
