# Front door: every command a developer or CI needs.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE      ?= cmake

.PHONY: all release test asan demo bench tables install clean

all: release

release:
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	$(CMAKE) --build $(BUILD) -j $(JOBS)

test: release
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

asan:
	$(CMAKE) -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQSTR14_SANITIZE=ON
	$(CMAKE) --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

demo: release
	@scripts/demo.sh $(BUILD)/cli/qstr

bench:
	$(CMAKE) -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DQSTR14_BUILD_BENCH=ON -DQSTR14_BUILD_TESTS=OFF
	$(CMAKE) --build $(BENCH_BUILD) -j $(JOBS) --target qstr14_bench
	$(BENCH_BUILD)/bench/qstr14_bench

tables:
	python3 tools/gen/generate_all.py

install: release
	$(CMAKE) --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
