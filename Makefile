# Set-up and everyday commands; see README.md.
MAKEFLAGS += --no-print-directory
.PHONY: all deps build install test run asan-test fuzz bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

# The Python module dot11b, into the system Python's site-packages (run as
# root, or with sudo, where that folder is the system's).
install: build
	@cmake --install build --component python

test: build
	@ctest --preset default

# LeakSanitizer's exit-time check can crash on its own when the machine is
# loaded ("Tracer caught signal 11"); a test that fails is run once more, so
# only a failure that repeats counts.
asan-test: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan --repeat until-pass:2

# With a display the desktop application opens; without one the command-line
# demo runs and the application's window is rendered to out/dot11b-studio.png.
run: build
	@mkdir -p out
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		build/bin/dot11b-studio; \
	else \
		build/bin/dot11b-gen -o out/dot11b.wfm -o out/dot11b.sigmf-meta && \
		build/bin/dot11b-plot out/dot11b.sigmf-meta --plot spectrum:out/spectrum.png --plot ccdf:out/ccdf.png && \
		scripts/demo-download.sh build/bin && \
		QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='default.warning=false;qt.*.warning=false' \
			build/bin/dot11b-studio --screenshot out/dot11b-studio.png && \
		echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): ran the command-line demo instead of" \
		     "the desktop application and rendered its window to out/dot11b-studio.png."; \
	fi

# The libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer),
# seeded with files the project writes, each run for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz --target fuzz_parameter_file fuzz_user_data fuzz_recording dot11b-fuzz-seeds
	@rm -rf build-fuzz/corpus && build-fuzz/bin/dot11b-fuzz-seeds build-fuzz/corpus/mat build-fuzz/corpus/data \
		build-fuzz/corpus/recording
	@build-fuzz/bin/fuzz_parameter_file -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
		-artifact_prefix=build-fuzz/ build-fuzz/corpus/mat
	@build-fuzz/bin/fuzz_user_data -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
		-artifact_prefix=build-fuzz/ build-fuzz/corpus/data
	@build-fuzz/bin/fuzz_recording -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
		-artifact_prefix=build-fuzz/ build-fuzz/corpus/recording

bench: build
	@build/bin/dot11b-bench
	@build/bin/dot11b-plot-bench
	@bench/process_bench.sh build/bin

clean:
	rm -rf build build-asan build-fuzz out
