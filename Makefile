# Convenience wrapper around CMake: `make demo` and `make test` set up a new
# machine, build, and run the sample conversion or every test.
BUILD ?= build
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD_TYPE ?= Release

# Debian packages the build and tests need; `make deps` installs the
# missing ones when run as root.
DEPS = cmake make g++ pkg-config libicu-dev libgtest-dev python3 unicode-data
BENCH_DEPS = icu-devtools libc-bin time bc

.PHONY: all build deps bench-deps demo test test-large test-sanitize install package bench clean

all: build

deps:
	@DEPS="$(DEPS)" sh tools/install_deps.sh

bench-deps:
	@DEPS="$(DEPS) $(BENCH_DEPS)" sh tools/install_deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

demo: deps
	@$(MAKE) --no-print-directory build
	@echo
	@echo '$$ odrim data/sample-936.txt 936 $(BUILD)/sample-950.txt 950'
	@$(BUILD)/odrim data/sample-936.txt 936 $(BUILD)/sample-950.txt 950
	@echo
	@echo '$$ odrim data/sample-936.txt 936 $(BUILD)/sample-950-drop.txt 950 0'
	@$(BUILD)/odrim data/sample-936.txt 936 $(BUILD)/sample-950-drop.txt 950 0

test: deps
	@$(MAKE) --no-print-directory build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE large

# Every test again with AddressSanitizer and UndefinedBehaviorSanitizer,
# warnings treated as errors.
test-sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=Debug -DODRIM_SANITIZE=ON -DODRIM_WERROR=ON
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	ctest --test-dir $(BUILD)-sanitize --output-on-failure -j $(JOBS) -LE large

# The tests labelled large (a 2.2 GB file).
test-large: deps
	@$(MAKE) --no-print-directory build
	ctest --test-dir $(BUILD) --output-on-failure -L large

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Times odrim against iconv and uconv on generated corpora (SIZE in MB).
SIZE ?= 100
bench: bench-deps
	@$(MAKE) --no-print-directory build
	bench/run.sh $(SIZE)

# A Debian package of the binary and the man page, in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
