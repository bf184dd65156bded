# The two set-up commands: `make run` and `make test`. Both install what is
# missing, configure and build; `run` then prints the bundled example goods,
# `test` runs every test.
BUILD      ?= build
CMAKE_ARGS ?=
JOBS       ?= 2

.PHONY: all deps configure build run test portability fuzz format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-examples $(BUILD)

test: build
	@cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

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
