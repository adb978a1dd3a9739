# The two set-up commands: `make demo` runs the engine's main job, `make test` builds and runs all tests.
.PHONY: demo test asan bench fuzz build bootstrap clean

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

bootstrap:
	@scripts/bootstrap

build: bootstrap
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev -j $(JOBS)

test: build
	@ctest --preset dev -j $(JOBS)

asan: bootstrap
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

bench: bootstrap
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@bench/run_all.sh build/release

# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS.
fuzz: bootstrap
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@fuzz/run build/fuzz $(FUZZ_SECONDS)

# Packs and runs the demo installer: in a window when a display is there, else headless.
demo: build
	@scripts/demo build/dev

clean:
	rm -rf build
