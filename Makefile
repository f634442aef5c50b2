# Velmora: top-level commands. See README.md.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
# Tests run two per core: many of them wait (on timers, sleeps, other
# processes) more than they compute.
TEST_JOBS  ?= $(shell echo $$(( 2 * $(JOBS) )))
CMAKE_GEN  := -G Ninja

.PHONY: all deps build run test test-main test-asan gui bench quality fuzz install package clean

all: build

deps:
	@bash scripts/install-deps.sh

# The test trees build no benchmarks (make bench has a tree of its own; the
# targets are still there to build by name, e.g. quality_run). Optimised with
# line tables (-g1): backtraces and profiles keep functions, files and lines,
# and the tree compiles a third faster than with full debug information (for
# a debugger: a Debug tree of your own).
$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DVELMORA_BUILD_BENCH=OFF

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	bash scripts/run-example.sh $(BUILD)/bin

test: deps test-main test-asan

test-main: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(TEST_JOBS)

# Line tables only (-g1): the sanitizers' reports keep functions, files and
# lines, and the tree compiles and links a good fifth faster than with -g.
$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
		-DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF

test-asan: $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		ctest --output-on-failure -j $(TEST_JOBS)

gui: build
	@if [ -x $(BUILD)/bin/velmora ]; then \
		$(BUILD)/bin/velmora examples/kitchen.vlp; \
	else \
		echo "The desktop program is not built yet (needs Qt 6)."; \
	fi

bench: deps
	cmake -S . -B $(BUILD)-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_APP=OFF -DVELMORA_BUILD_TESTS=OFF
	cmake --build $(BUILD)-bench -j $(JOBS)
	bash scripts/run-bench.sh $(BUILD)-bench/bin

# Quality of both optimisers on the public instances in ../shared/bench-data
# (the cache variable VELMORA_BENCH_DATA_DIR; a few minutes on two cores;
# options in QUALITY_ARGS, listed at the top of bench/quality_run.cpp).
# Not part of `make test`.
QUALITY_ARGS ?=
quality: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target quality_run
	$(BUILD)/bin/quality_run $(QUALITY_ARGS)

fuzz: deps
	CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
		-DVELMORA_BUILD_APP=OFF -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS)

# Installs the programs, their data, desktop entry, icons, file types and
# manual pages under PREFIX (DESTDIR=... stages the files elsewhere).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package velmora_<version>_<arch>.deb, in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/velmora_*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BUILD)-bench build-fuzz
