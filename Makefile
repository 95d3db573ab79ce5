# The two set-up commands: `make run` and `make test`. Both install what is
# missing, configure and build first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run bench package fuzz tsan clean

all: build

deps:
	@tools/install-dependencies

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# Every benchmark is built (not run) first: one that does not compile fails the tests.
test: build
	@cmake --build $(BUILD) --target kavrin-benchmarks -j$(JOBS)
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The desktop program; a project file can follow: make run ARGS=plume.kvr
run: build
	@$(BUILD)/bin/kavrin $(ARGS)

# Speed and memory of the field computation, the source options, the charts, the
# map, the calibration and the Python module (beside numpy/scipy), each figure
# beside its floor or target (`make test` builds them but does not run them).
bench: build
	@cmake --build $(BUILD) --target kavrin-benchmarks kavrin_python -j$(JOBS)
	@$(BUILD)/bin/kavrin-bench
	@$(BUILD)/bin/kavrin-source-bench
	@$(BUILD)/bin/kavrin-uncertainty-bench
	@$(BUILD)/bin/kavrin-chart-bench
	@$(BUILD)/bin/kavrin-map-bench
	@$(BUILD)/bin/kavrin-picture-bench
	@$(BUILD)/bin/kavrin-calibration-bench
	@PYTHONPATH=$(BUILD)/python /usr/bin/python3 bench/python_points_bench.py

# The Debian package $(BUILD)/kavrin_<version>_amd64.deb.
package: build
	@cmake --build $(BUILD) --target package

# Every reader of outside data under libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer, each target for FUZZ_SECONDS (FUZZ_TARGETS picks
# some: make fuzz FUZZ_TARGETS="exports project_file" FUZZ_SECONDS=600).
# Inputs that fail are kept in fuzz/failures/<target>/ and replayed by make test.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 180
FUZZ_TARGETS ?=
fuzz:
	@tools/install-dependencies --fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DKAVRIN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	@cmake --build $(FUZZ_BUILD) -j$(JOBS)
	@fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

tsan:
	@tools/tsan-background-task build-tsan

clean:
	@rm -rf $(BUILD) $(FUZZ_BUILD)
