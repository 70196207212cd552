# Thin wrapper over CMake and the scripts: `make run`, `make test`, `make bench`, `make deb`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test bench deb clean

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

clean:
	rm -rf $(BUILD)
