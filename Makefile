# The two set-up commands: `make run` and `make test`. Both install what is
# missing, configure and build; `run` then prints the bundled example goods,
# `test` runs every test.
BUILD      ?= build
CMAKE_ARGS ?=
JOBS       ?= 2
# ccache keeps what was compiled once: a second build of the same sources (a
# fresh clone on CI, the sanitizer and Windows builds of unchanged files) is
# mostly cache hits.
LAUNCHER   = $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# Where `make install` puts KORVAL (DESTDIR stages it below another root).
PREFIX     ?= /usr/local

.PHONY: all deps configure build run test install deb portability fuzz format clean windows test-windows

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(LAUNCHER) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-examples $(BUILD)

test: build
	@cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

# The library (libkorval.so.3 with its header, korval.pc and CMake package),
# the program, the catalogue of label sheets and the bash completion under
# PREFIX. The build stays the user's own: only the install runs through sudo,
# and only when the prefix cannot be written otherwise. An install with the
# system's rights refreshes the loader's cache, which /usr/local/lib needs.
install: build
	@set -e; dir="$(DESTDIR)$(PREFIX)"; while [ ! -e "$$dir" ]; do dir=$$(dirname "$$dir"); done; \
	sudo=; if [ ! -w "$$dir" ] && [ "$$(id -u)" -ne 0 ]; then sudo=sudo; fi; \
	rm -f $(BUILD)/install_manifest.txt; \
	$$sudo env DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"; \
	if [ -z "$(DESTDIR)" ] && { [ -n "$$sudo" ] || [ "$$(id -u)" -eq 0 ]; }; then $$sudo ldconfig; fi

# The Debian packages libkorval3, libkorval-dev and korval in $(BUILD)/packages
# (cmake/Packaging.cmake).
deb: build
	@cd $(BUILD) && cpack -G DEB -B packages >/dev/null
	@ls -1 $(BUILD)/packages/*.deb

# KORVAL.dll for 32-bit and 64-bit Windows (MinGW-w64) in build-win32/ and
# build-win64/, with the test programs; `test-windows` runs them under Wine.
WINDOWS_BUILDS = win32:i686 win64:x86_64
# Only these targets when set (KORVAL.dll alone: WINDOWS_TARGETS=korval).
WINDOWS_TARGETS ?=

windows:
	@scripts/install-deps --windows
	@set -e; for b in $(WINDOWS_BUILDS); do \
	  dir=build-$${b%%:*}; arch=$${b##*:}; \
	  cmake -S . -B $$dir -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-$$arch.cmake \
	    $(LAUNCHER) $(CMAKE_ARGS) >/dev/null; \
	  cmake --build $$dir -j $(JOBS) $(if $(WINDOWS_TARGETS),--target $(WINDOWS_TARGETS)); \
	done

test-windows: windows
	@scripts/install-deps --wine
	@set -e; for b in $(WINDOWS_BUILDS); do \
	  scripts/wine-run --why $${b%%:*}; \
	  (cd build-$${b%%:*} && ctest -j $(JOBS) --output-on-failure); \
	done

# Every core source must compile for 32-bit Windows too.
portability: deps
	@scripts/check-portability

# The fuzz targets, SECONDS each (clang with libFuzzer and the sanitizers).
SECONDS ?= 60
fuzz: deps
	@scripts/fuzz $(SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
