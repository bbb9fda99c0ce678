# Front door: every command a developer or CI needs.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
WIN32_BUILD ?= build-win32
WIN64_BUILD ?= build-win64
WIN64_TEST_BUILD ?= build-win64-tests
WIN32_TEST_BUILD ?= build-win32-tests
FUZZ_SECONDS ?= 60
FUZZ_CI_SECONDS ?= 20
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE      ?= cmake

.PHONY: readme-check package-check windows-test all release tool test asan tsan valgrind demo bench tables install clean fuzz fuzz-ci fuzz-build windows

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

# The concurrency tests under ThreadSanitizer.
tsan:
	$(CMAKE) -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQSTR14_TSAN=ON
	$(CMAKE) --build $(TSAN_BUILD) -j $(JOBS) --target test_concurrency
	TSAN_OPTIONS=halt_on_error=1 ctest --test-dir $(TSAN_BUILD) --output-on-failure -R '^concurrency\.'

# The whole test suite under valgrind's memcheck: no errors, no leaks.
valgrind: release
	scripts/valgrind.sh $(BUILD)

# The library and the tool only, quietly: what the demo needs.
tool:
	@$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null
	@echo "building the library and qstr in $(BUILD)/"
	@$(CMAKE) --build $(BUILD) -j $(JOBS) --target qstr -- --no-print-directory -s

demo: tool
	@scripts/demo.sh $(BUILD)/cli/qstr

bench:
	$(CMAKE) -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DQSTR14_BUILD_BENCH=ON -DQSTR14_BUILD_TESTS=OFF
	$(CMAKE) --build $(BENCH_BUILD) -j $(JOBS) --target qstr14_bench
	$(BENCH_BUILD)/bench/qstr14_bench

# Fuzzing with libFuzzer (clang): every tests/fuzz/fuzz_*.cpp target, each
# for FUZZ_SECONDS, starting from a copy of its committed seed corpus (new
# inputs stay in the build folder). fuzz-ci is the short fixed-seed run CI
# makes; a finding fails it.
fuzz-build:
	CC=clang CXX=clang++ $(CMAKE) -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQSTR14_SANITIZE=ON -DQSTR14_FUZZ=ON
	$(CMAKE) --build $(FUZZ_BUILD) -j $(JOBS) --target $(patsubst tests/fuzz/%.cpp,%,$(wildcard tests/fuzz/fuzz_*.cpp))

fuzz: fuzz-build
	@scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-ci: fuzz-build
	@scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_CI_SECONDS) -seed=1

# Windows cross builds with mingw-w64: the 32-bit QStr14.dll (its exports
# checked against the lists) and the 64-bit library.
windows:
	$(CMAKE) -S . -B $(WIN32_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DQSTR14_BUILD_TESTS=OFF
	$(CMAKE) --build $(WIN32_BUILD) -j $(JOBS)
	scripts/check-dll-exports.sh $(WIN32_BUILD)/src/QStr14.dll i686-w64-mingw32-objdump
	$(CMAKE) -S . -B $(WIN64_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DQSTR14_BUILD_TESTS=OFF
	$(CMAKE) --build $(WIN64_BUILD) -j $(JOBS)
	scripts/check-dll-exports.sh $(WIN64_BUILD)/src/QStr14.dll x86_64-w64-mingw32-objdump

# The library and its tests built for 64-bit and for 32-bit Windows (the
# word processor's: standard calling convention) and run under Wine (the
# Windows backend against a real implementation of the Windows API), plus
# the 32-bit DLL loaded by name in a smoke test. The 32-bit runs need
# 32-bit Wine; without it they say so and are skipped, the build is not.
windows-test: windows release
	$(CMAKE) -S . -B $(WIN64_TEST_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	$(CMAKE) --build $(WIN64_TEST_BUILD) -j $(JOBS)
	scripts/wine-tests.sh $(WIN64_TEST_BUILD)
	$(CMAKE) -S . -B $(WIN32_TEST_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
	$(CMAKE) --build $(WIN32_TEST_BUILD) -j $(JOBS)
	scripts/wine-tests.sh $(WIN32_TEST_BUILD)
	scripts/dll-smoke.sh $(WIN32_BUILD)/src/QStr14.dll
	scripts/differential.sh $(BUILD)/tests/differential/host_dump $(WIN64_TEST_BUILD)/tests/differential/host_dump.exe

tables:
	python3 tools/gen/generate_all.py

# The commands of README.md, and the installed package used from outside.
readme-check: release
	scripts/check-readme.sh

package-check: release
	scripts/check-package.sh

install: release
	$(CMAKE) --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(WIN32_BUILD) $(WIN64_BUILD) $(WIN64_TEST_BUILD) $(WIN32_TEST_BUILD)
