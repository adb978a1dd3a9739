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

# Until the demo installer exists, the demo checks the sample script's syntax.
demo: build
	@echo "Demo: syntax check of examples/hello.ovs (the demo installer comes later)"
	@build/dev/tools/orvane/orvane check examples/hello.ovs && echo "examples/hello.ovs: ok"
	@build/dev/tools/orvane/orvane check --tree examples/hello.ovs

clean:
	rm -rf build
