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

.PHONY: one-way all build deps bench-deps fuzz fuzz-deps demo test test-large test-sanitize install package bench clean

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

# Rewrites the one-way mapping lists of data/one_way from the ICU tables.
one-way: build
	$(BUILD)/one_way_dump data/one_way

# Times odrim against iconv and uconv on generated corpora (SIZE in MB).
SIZE ?= 100
bench: bench-deps
	@$(MAKE) --no-print-directory build
	bench/run.sh $(SIZE)

# Runs each fuzz target for FUZZ_SECONDS (clang's libFuzzer). New inputs
# go to $(BUILD)-fuzz/corpus-*; findings are saved there as crash-* files,
# to be copied into fuzz/corpus/<target>/ once fixed.
FUZZ_SECONDS ?= 60
fuzz: fuzz-deps
	cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DODRIM_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target convert_fuzzer cli_fuzzer
	@for target in convert cli; do \
	  mkdir -p $(BUILD)-fuzz/corpus-$$target && \
	  echo "fuzzing $$target for $(FUZZ_SECONDS) s" && \
	  (cd $(BUILD)-fuzz && ./$${target}_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	     corpus-$$target ../fuzz/corpus/$$target 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' ) && \
	  ! ls $(BUILD)-fuzz/crash-* $(BUILD)-fuzz/leak-* $(BUILD)-fuzz/timeout-* 2>/dev/null || exit 1; \
	done

fuzz-deps:
	@DEPS="$(DEPS) clang libclang-rt-14-dev" sh tools/install_deps.sh

# A Debian package of the binary and the man page, in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
