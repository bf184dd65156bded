#!/usr/bin/env bash
# `cmake --install` into a prefix of its own, as a host's developer has it:
# the library under its soname with the links, the header, korval.pc and the
# CMake package, the program with the data it reads, nothing pointing back
# into the build folder. Two hosts are built against the prefix and run, one
# with pkg-config, one with find_package(korval); the installed library
# exports the C interface alone.
#   install.sh BUILD_DIR SOURCE_DIR VERSION CMAKE_GENERATOR [CMAKE]
# KORVAL_HOST_CFLAGS: what the hosts are compiled and linked with besides
# (the sanitizer build's flags, without which its library cannot be loaded).
set -euo pipefail
build=$1
source_dir=$2
version=$3
generator=$4
cmake=${5:-cmake}
host_flags=${KORVAL_HOST_CFLAGS:-}
here=$(cd "$(dirname "$0")" && pwd)
major=${version%%.*}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAILED: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log" ||
  fail "cmake --install: $(cat "$work/install.log")"

# The library under its full version, the soname link and the link hosts
# are linked through.
lib=$prefix/lib
[ -f "$lib/libkorval.so.$version" ] && [ ! -L "$lib/libkorval.so.$version" ] ||
  fail "no libkorval.so.$version in $lib: $(ls "$lib")"
[ "$(readlink "$lib/libkorval.so.$major")" = "libkorval.so.$version" ] ||
  fail "libkorval.so.$major does not link to libkorval.so.$version"
[ "$(readlink -f "$lib/libkorval.so")" = "$(readlink -f "$lib/libkorval.so.$version")" ] ||
  fail "libkorval.so does not lead to libkorval.so.$version"
soname=$(readelf -d "$lib/libkorval.so.$version" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ "$soname" = "libkorval.so.$major" ] || fail "soname is '$soname', not libkorval.so.$major"

cmp -s "$prefix/include/korval/korval.h" "$source_dir/include/korval/korval.h" ||
  fail "include/korval/korval.h is not the project's header"
cmp -s "$prefix/share/korval/label-sheets.txt" "$source_dir/data/sheets/label-sheets.txt" ||
  fail "share/korval/label-sheets.txt is not the catalogue of label sheets"
[ -s "$prefix/share/bash-completion/completions/korval" ] || fail "no bash completion"

# What runs from the prefix takes nothing from the build folder.
for binary in "$lib/libkorval.so.$version" "$prefix/bin/korval"; do
  paths=$(readelf -d "$binary" | grep -E '\((RPATH|RUNPATH)\)' || true)
  if grep -qF "$build" <<<"$paths"; then
    fail "$binary looks for libraries in the build folder: $paths"
  fi
done

"$here/../c_host/exports.sh" "$prefix/include/korval/korval.h" "$lib/libkorval.so.$major"

export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config
mkdir -p "$work/run"
cd "$work/run"

# The program, from the prefix: its version, and the catalogue it finds in
# share/korval (the build folder keeps a copy beside the program it builds,
# the prefix only that one).
"$prefix/bin/korval" --version > version.out || fail "korval --version: $(cat version.out)"
grep -qxF "korval $version" version.out || fail "korval --version says: $(cat version.out)"
"$prefix/bin/korval" sheets > sheets.out 2>&1 || fail "korval sheets from the prefix: $(cat sheets.out)"
grep -q "sheet layouts\?$" sheets.out || fail "korval sheets lists nothing: $(cat sheets.out)"

# A host built with pkg-config: the flags name the prefix, and the library
# the host loads is the installed one.
export PKG_CONFIG_PATH=$lib/pkgconfig
[ "$(pkg-config --modversion korval)" = "$version" ] ||
  fail "pkg-config says korval $(pkg-config --modversion korval)"
libdir=$(pkg-config --variable=libdir korval)
[ "$libdir" = "$lib" ] || fail "korval.pc names libdir $libdir, not $lib"
# shellcheck disable=SC2046,SC2086
cc -std=c11 -Wall -Wextra -Wpedantic -Werror $host_flags "$here/host.c" -o host-pc \
  $(pkg-config --cflags --libs korval) -Wl,-rpath,"$libdir" 2> cc.err ||
  fail "the pkg-config host does not build: $(cat cc.err)"
# (ldd's whole answer first: with pipefail, grep -q stopping at the first
# match would fail the pipeline of the ldd it cut off.)
loaded=$(ldd ./host-pc)
grep -qF "libkorval.so.$major => $lib/libkorval.so.$major" <<<"$loaded" ||
  fail "the pkg-config host loads another libkorval: $(grep korval <<<"$loaded")"
./host-pc > host-pc.out 2>&1 || fail "the pkg-config host: $(cat host-pc.out)"

# A host's CMake project with find_package(korval) and korval::korval.
"$cmake" -S "$here/host" -B host-cmake -G "$generator" -DCMAKE_PREFIX_PATH="$prefix" \
  -DKORVAL_EXPECTED_VERSION="$version" -DKORVAL_EXPECTED_MAJOR="$major" \
  -DCMAKE_C_FLAGS="$host_flags" -DCMAKE_EXE_LINKER_FLAGS="$host_flags" > cmake.log 2>&1 ||
  fail "the CMake host does not configure: $(cat cmake.log)"
grep -qF "$prefix/lib/cmake/korval" host-cmake/CMakeCache.txt ||
  fail "find_package(korval) did not take the prefix: $(grep korval_DIR host-cmake/CMakeCache.txt)"
"$cmake" --build host-cmake > build.log 2>&1 || fail "the CMake host does not build: $(cat build.log)"
loaded=$(ldd host-cmake/host)
grep -qF "libkorval.so.$major => $lib/libkorval.so.$major" <<<"$loaded" ||
  fail "the CMake host loads another libkorval: $(grep korval <<<"$loaded")"
host-cmake/host > host-cmake.out 2>&1 || fail "the CMake host: $(cat host-cmake.out)"

echo "installed into a prefix; both hosts answered: $(cat host-cmake.out)"
