# Front door for set-up, build and tests. `make test` works on a fresh Debian 12 machine: it
# installs what is missing, configures, builds and runs the whole suite.

JOBS ?= $(shell nproc)
CTEST_ARGS ?=

.PHONY: all deps build test test-asan build-asan test-tsan build-tsan fuzz fuzz-smoke bench format demo views clean

all: build

deps:
	@scripts/install-deps.sh

build/dev/build.ninja: | deps
	cmake --preset dev

build: deps build/dev/build.ninja
	cmake --build --preset dev -j $(JOBS)

test: build
	QT_QPA_PLATFORM=offscreen ctest --preset dev -j $(JOBS) $(CTEST_ARGS)

build/asan-ubsan/build.ninja: | deps
	cmake --preset asan-ubsan

build-asan: deps build/asan-ubsan/build.ninja
	cmake --build --preset asan-ubsan -j $(JOBS)

test-asan: build-asan
	QT_QPA_PLATFORM=offscreen ctest --preset asan-ubsan -j $(JOBS) $(CTEST_ARGS)

build/tsan/build.ninja: | deps
	cmake --preset tsan

# ThreadSanitizer over the std-only thread hand-offs (the tests labelled "tsan"): Debian's Qt is
# not instrumented, so the Qt tests are not run this way.
build-tsan: deps build/tsan/build.ninja
	cmake --build --preset tsan -j $(JOBS)

test-tsan: build-tsan
	ctest --preset tsan -j $(JOBS) $(CTEST_ARGS)

build/fuzz/build.ninja: | deps
	cmake --preset fuzz

fuzz: deps build/fuzz/build.ninja
	cmake --build --preset fuzz -j $(JOBS) --target fuzzers

# Runs every fuzz target for a short bounded time on its seed corpus.
fuzz-smoke: fuzz
	scripts/run-fuzzers.sh build/fuzz 30

bench: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	scripts/run-benchmarks.sh build/release

# Converts the bundled samples with kelconv and the real toolchain.
demo: build
	scripts/demo.sh build/dev

# Opens the analysis views (kelhost) on the demo's database, converting the samples first when
# the demo has not run yet.
views: build
	scripts/views.sh build/dev

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
