#!/usr/bin/env bash
# The Debian packages of `make deb`, made from the build folder with CPack:
# what each carries, what each depends on, and that they work unpacked into
# an empty root: the program runs and finds the data of the library's
# package, a host builds against the development package and runs.
#   deb.sh BUILD_DIR VERSION [CPACK]
# KORVAL_HOST_CFLAGS: as for install.sh.
set -euo pipefail
build=$1
version=$2
cpack=${3:-cpack}
host_flags=${KORVAL_HOST_CFLAGS:-}
here=$(cd "$(dirname "$0")" && pwd)
major=${version%%.*}
library_package=libkorval$major

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

(cd "$build" && "$cpack" -G DEB -B "$work/packages") > "$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"

deb_of() {
  local found
  found=$(find "$work/packages" -maxdepth 1 -name "$1_*.deb")
  [ "$(wc -l <<<"$found")" = 1 ] && [ -n "$found" ] || fail "no single package $1: $(ls "$work/packages")"
  echo "$found"
}
library_deb=$(deb_of "$library_package")
dev_deb=$(deb_of libkorval-dev)
program_deb=$(deb_of korval)
field() { dpkg-deb -f "$1" "$2"; }

# One version for the three, the project's.
deb_version=$(field "$library_deb" Version)
case $deb_version in
  "$version" | "$version"-*) ;;
  *) fail "$library_package has version $deb_version, the project $version" ;;
esac
for deb in "$dev_deb" "$program_deb"; do
  [ "$(field "$deb" Version)" = "$deb_version" ] ||
    fail "$(basename "$deb") has version $(field "$deb" Version), $library_package $deb_version"
done

# The development files and the program go with the library of their own
# version: the header, the .so link and the program's code are that version's.
# (Output is searched whole, never piped into grep -q: with pipefail, grep
# stopping at the first match fails the pipeline of the writer it cut off.)
depends_on_library() {
  grep -qxF "$library_package (= $deb_version)" <<<"$(field "$1" Depends | tr ',' '\n' | sed 's/^ *//')" ||
    fail "$(basename "$1") does not depend on $library_package (= $deb_version): $(field "$1" Depends)"
}
depends_on_library "$dev_deb"
depends_on_library "$program_deb"

# Which package carries what.
contents() { dpkg-deb -c "$1" | awk '{print $6}' | sed 's|^\./|/|'; }
has() { grep -qxF "$2" <<<"$(contents "$1")" || fail "$(basename "$1") lacks $2"; }
lacks() {
  local found
  found=$(grep -E "$2" <<<"$(contents "$1")" || true)
  [ -z "$found" ] || fail "$(basename "$1") carries $(echo $found)"
}
has "$library_deb" "/usr/lib/libkorval.so.$version"
has "$library_deb" "/usr/lib/libkorval.so.$major"
has "$library_deb" /usr/share/korval/label-sheets.txt
lacks "$library_deb" '^/usr/(include|bin)/|libkorval\.so$|pkgconfig|cmake'
has "$dev_deb" /usr/lib/libkorval.so
has "$dev_deb" /usr/include/korval/korval.h
has "$dev_deb" /usr/lib/pkgconfig/korval.pc
has "$dev_deb" /usr/lib/cmake/korval/korvalConfig.cmake
has "$dev_deb" /usr/lib/cmake/korval/korvalConfigVersion.cmake
lacks "$dev_deb" "libkorval\\.so\\.|^/usr/bin/|^/usr/share/korval"
has "$program_deb" /usr/bin/korval
has "$program_deb" /usr/share/bash-completion/completions/korval
lacks "$program_deb" '^/usr/lib/|^/usr/include/'

# Hosts packaged against the library depend on it through its shlibs file.
dpkg-deb -e "$library_deb" "$work/control"
grep -qxF "libkorval $major $library_package (>= $deb_version)" "$work/control/shlibs" ||
  fail "$library_package's shlibs: $(cat "$work/control/shlibs" 2>/dev/null)"

root=$work/root
for deb in "$library_deb" "$dev_deb" "$program_deb"; do dpkg-deb -x "$deb" "$root"; done

# Every library a binary links comes from a package its package depends on.
source "$here/packages.sh"
needs_packages_of() {
  local deb=$1 binary=$2 depends soname path package
  depends=$(tr ',|' '\n\n' <<<"$(field "$deb" Depends)" | sed 's/^ *//; s/[ (].*//')
  local -a linked=()
  mapfile -t linked < <(LD_LIBRARY_PATH=$root/usr/lib linked_libraries "$binary")
  read_owners $(printf '%s\n' "${linked[@]}" | awk '{print $2}')
  for entry in "${linked[@]}"; do
    read -r soname path <<<"$entry"
    [ "$path" != not-found ] || fail "$soname of $binary is not found"
    package=$(owner_of "$path")
    [ -n "$package" ] || fail "no installed package has $path"
    grep -qxF "$package" <<<"$depends" ||
      fail "$(basename "$deb"): $(basename "$binary") links $soname of $package, not among its Depends: $(field "$deb" Depends)"
  done
}
needs_packages_of "$library_deb" "$root/usr/lib/libkorval.so.$version"
needs_packages_of "$program_deb" "$root/usr/bin/korval"

"$here/../c_host/exports.sh" "$root/usr/include/korval/korval.h" "$root/usr/lib/libkorval.so.$major"

export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config LD_LIBRARY_PATH=$root/usr/lib
mkdir -p "$work/run"
cd "$work/run"
"$root/usr/bin/korval" --version > version.out || fail "korval --version: $(cat version.out)"
grep -qxF "korval $version" version.out || fail "korval --version says: $(cat version.out)"
# /usr/bin/korval finds /usr/share/korval of the library's package.
"$root/usr/bin/korval" sheets > sheets.out 2>&1 || fail "korval sheets: $(cat sheets.out)"

# A host built against the unpacked development package (korval.pc names
# /usr; the sysroot puts it below the root).
# shellcheck disable=SC2046,SC2086
cc -std=c11 -Wall -Wextra -Wpedantic -Werror $host_flags "$here/host.c" -o host \
  $(PKG_CONFIG_SYSROOT_DIR=$root PKG_CONFIG_LIBDIR=$root/usr/lib/pkgconfig \
    pkg-config --cflags --libs korval) 2> cc.err || fail "a host does not build: $(cat cc.err)"
./host > host.out 2>&1 || fail "the host: $(cat host.out)"

echo "$(cd "$work/packages" && ls ./*.deb | tr '\n' ' ')built and unpacked; korval $version runs; a host answered: $(cat host.out)"
