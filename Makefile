# One command each: `make run` and `make test` install what is missing, configure,
# build, and then start the program or run every test.

BUILD := build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := fuzz_baseaddress fuzz_rtfreader fuzz_jpeg

.PHONY: all deps configure build run test bench demo asan-test fuzz clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake --preset default

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@tools/run-app.sh $(BUILD)/grd-ktx-setup

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

asan-test: deps
	@test -f build-asan/CMakeCache.txt || cmake --preset asan
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=fast_unwind_on_malloc=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS) -E '^e2e_'

# libFuzzer targets built with clang in build-fuzz/, each run for FUZZ_SECONDS.
fuzz:
	@tools/install-deps.sh --fuzz
	@test -f build-fuzz/CMakeCache.txt || cmake --preset fuzz
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	tests/fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

# The walk through the program under its own virtual X server, keeping a screenshot
# of every step and cropped window pictures in $(BUILD)/screenshots/.
demo: build
	tests/e2e/with-x11.sh env GRD_APP=$(CURDIR)/$(BUILD)/grd-ktx-setup \
	  GRD_SCREENSHOTS=$(CURDIR)/$(BUILD)/screenshots GRD_DEMO=1 tests/e2e/test_walkthrough.sh
	@echo "screenshots: $(BUILD)/screenshots/walk-*.png, pictures: $(BUILD)/screenshots/demo/"

bench: deps
	@test -f build-release/CMakeCache.txt || cmake --preset release
	cmake --build build-release -j $(JOBS)
	bench/run.sh build-release

clean:
	rm -rf build build-release build-asan
