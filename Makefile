# Thin wrapper around CMake. On a fresh machine:
#   make run    installs the dependencies, builds, and starts Nimbra
#   make test   installs the dependencies, builds, and runs every test
#   make bench  builds and runs the benchmarks
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/Nimbra

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; done

clean:
	rm -rf $(BUILD_DIR)
