# The two set-up commands: `make demo` runs the engine's main job, `make test` builds and runs all tests.
.PHONY: demo test asan bench build bootstrap clean

JOBS ?= $(shell nproc)

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

# Until the demo installer exists, the demo checks the sample script and runs it headless.
demo: build
	@echo "Demo: examples/hello.ovs (the demo installer comes later)"
	@build/dev/tools/orvane/orvane check examples/hello.ovs && echo "syntax: ok"
	@build/dev/tools/orvane/orvane check --tree examples/hello.ovs
	@echo "Headless run (questions answered with yes):"
	@QT_QPA_PLATFORM=offscreen build/dev/tools/orvane/orvane run --yes --script examples/hello.ovs

clean:
	rm -rf build
