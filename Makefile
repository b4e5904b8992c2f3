# Set-up and everyday commands; see README.md.
MAKEFLAGS += --no-print-directory
.PHONY: all deps build test run asan-test bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

test: build
	@ctest --preset default

asan-test: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

run: build
	@build/bin/dot11b-plcp

bench: build
	@build/bin/dot11b-bench

clean:
	rm -rf build build-asan
