# Thin wrapper over CMake and the scripts: `make run`, `make test`, `make bench`, `make deb`,
# `make fuzz`, `make sanitize`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test bench deb fuzz sanitize clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	scripts/run-app $(BUILD)/bin/tavrin-sound-recorder

test: build
	cd $(BUILD) && ctest --output-on-failure --timeout 600 -j $(JOBS)

bench: build
	bench/run $(BUILD)

# The Debian package, in $(BUILD)/: only the program and its manual page are built for it.
deb: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target tavrin-sound-recorder tavrin_man_page
	cd $(BUILD) && cpack -G DEB

# The repair's fuzzers, one per format, each for FUZZ_SECONDS from the committed corpus, built
# with clang in build-fuzz/ (scripts/fuzz-repair installs clang and its run-time if missing).
fuzz: deps
	scripts/fuzz-repair $(FUZZ_SECONDS)

# The repair tests under AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/.
sanitize: deps
	cmake -S . -B build-asan $(CMAKE_FLAGS) -DTAVRIN_SANITIZE=ON
	cmake --build build-asan -j $(JOBS) --target tst_file_repair tst_file_durability file_write_child
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest -R 'tst_file_repair|tst_file_durability' --output-on-failure --timeout 600

clean:
	rm -rf $(BUILD)
