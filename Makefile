# Thin wrapper around CMake. On a fresh machine:
#   make run    installs the dependencies, builds, and starts Nimbra on a demo program
#               directory (build/demo) against the loopback fakes; make run-real runs the
#               same demo in real mode against the fake broker
#   make test   installs the dependencies, builds, and runs every test
#   make bench  builds and runs the benchmarks
#   make test-shuffled runs each test executable once in one process, its tests in random
#                     order, so that state one test leaves behind for another shows
#   make test-asan    builds a second tree with AddressSanitizer and UndefinedBehaviorSanitizer
#                     (in $(ASAN_BUILD_DIR)) and runs every test there
#   make format-check fails on a source file that clang-format would change
#   make screenshots  takes the README's pictures (docs/*.png) from the demo, offscreen
BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
JOBS ?= $(shell nproc)
FORMAT_DIRS = src tests bench

.PHONY: deps configure build run run-real screenshots test test-shuffled test-asan format-check bench clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/tests/support/nimbra_demo --dir $(BUILD_DIR)/demo --images $(BUILD_DIR)/bin/Images

run-real: build
	$(BUILD_DIR)/tests/support/nimbra_demo --dir $(BUILD_DIR)/demo --images $(BUILD_DIR)/bin/Images --real

screenshots: build
	$(BUILD_DIR)/tests/support/nimbra_screenshots --images $(BUILD_DIR)/bin/Images --out docs

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

test-shuffled: build
	@for t in $(BUILD_DIR)/tests/test_* $(BUILD_DIR)/tests/updater/test_*; do \
	  if [ -f "$$t" ] && [ -x "$$t" ]; then \
	    QT_QPA_PLATFORM=offscreen LC_ALL=C "$$t" --gtest_shuffle --gtest_brief=1 || exit 1; \
	  fi; \
	done

# Qt and fontconfig keep caches for the life of the process, so leak reports are off; every
# other finding of either sanitizer stops the test that caused it.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNIMBRA_SANITIZE=ON -DNIMBRA_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD_DIR) --output-on-failure -j $(JOBS)

format-check: deps
	find $(FORMAT_DIRS) -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run --Werror

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; done

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR)
