# The two set-up commands: `make run` and `make test`. Both install what is
# missing (Debian 12), configure and build first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test sanitize fuzz bench package clean

all: build

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/src/app/brelko

test: build
	cd $(BUILD) && ctest --output-on-failure -LE bench -j$(JOBS) </dev/null

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	@$(MAKE) --no-print-directory test BUILD=build-asan CMAKE_FLAGS="-DBRELKO_SANITIZE=ON $(CMAKE_FLAGS)"

# The libFuzzer targets, built with clang, each run for a bounded time.
FUZZ_SECONDS ?= 30
fuzz: deps
	@CXX=clang++ cmake -S . -B build-fuzz -DBRELKO_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build build-fuzz -j$(JOBS) --target brelko_fuzzers
	@./scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

bench: build
	cd $(BUILD) && ctest --output-on-failure -L bench -V </dev/null

# The Debian package (CPack), built from the same build folder.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf build build-asan build-fuzz
