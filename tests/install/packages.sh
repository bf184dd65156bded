# Sourced by the package tests: which installed Debian package has a file,
# and which files a binary links. dpkg knows a library by the name its
# package gives it, /lib/... or /usr/lib/..., whichever the loader reports;
# one dpkg query answers for all of them (a query reads the whole database).

declare -A KORVAL_OWNER=()

# Reads the owners of the files (and of the other names they go by).
read_owners() {
  local file names=() line path packages
  for file in "$@"; do
    names+=("$file" "$(readlink -f "$file")")
    case $file in
      /usr/lib/*) names+=("${file#/usr}") ;;
      /lib/*) names+=("/usr$file") ;;
    esac
  done
  while IFS= read -r line; do
    [ -n "$line" ] || continue
    path=${line##*: }
    packages=${line%: *}
    KORVAL_OWNER[$path]=${packages%%[:,]*}
  done < <(dpkg -S "${names[@]}" 2>/dev/null || true)
}

# The package of a file read_owners was given; empty when none has it.
owner_of() {
  local name
  for name in "$1" "$(readlink -f "$1")" "${1#/usr}" "/usr$1"; do
    if [ -n "${KORVAL_OWNER[$name]:-}" ]; then
      echo "${KORVAL_OWNER[$name]}"
      return
    fi
  done
}

# "SONAME PATH" for every library the binary names (NEEDED), found as the
# loader finds it.
linked_libraries() {
  local binary=$1 resolved soname path
  resolved=$(ldd "$binary")
  while read -r soname; do
    path=$(awk -v so="$soname" '$1 == so && $2 == "=>" {print $3}' <<<"$resolved")
    echo "$soname ${path:-not-found}"
  done < <(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
}
