# Entry points for a newcomer and for CI; everything builds with CMake under build/.
BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
THREADS_DIR  ?= build-threads
FUZZ_DIR     ?= build-fuzz
JOBS         ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR    := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
FUZZ_SECONDS ?= 20

.PHONY: all deps build test test-sanitize test-threads bench demo fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DSCN_SANITIZE=ON -DSCN_BUILD_BENCH=OFF
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

# The tests of the parts that run threads (the tools' split reads, the export's model walk)
# under ThreadSanitizer.
test-threads: deps
	cmake -S . -B $(THREADS_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCN_SANITIZE_THREAD=ON -DSCN_BUILD_BENCH=OFF
	cmake --build $(THREADS_DIR) -j $(JOBS) --target test_tools test_addon test_host scntool cadhost
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
		ctest --test-dir $(THREADS_DIR) --output-on-failure -j $(JOBS) -R '^(tools|addon|host)$$'

bench: build
	@for b in $(BUILD_DIR)/bin/bench_*; do echo "== $$b"; $$b || exit 1; done

demo: build
	@scripts/demo

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCN_FUZZ=ON -DSCN_BUILD_TESTS=OFF -DSCN_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(THREADS_DIR) $(FUZZ_DIR) out
