# The two everyday commands: `make run` and `make test`. Both install what is missing first.
PRESET ?= dev
BUILD  := build/$(PRESET)

.PHONY: all deps configure build run test windows-test asan-test release bench package clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

run: build
	@if [ -x $(BUILD)/bin/VWX ]; then exec $(BUILD)/bin/VWX; else exec $(BUILD)/bin/vaultwing --help; fi

# After the native tests of the everyday build, the Windows build under Wine (it says
# "skipped" when MinGW-w64 or Wine is not installed: scripts/install-deps.sh --windows).
test: build
	ctest --preset $(PRESET)
	@if [ "$(PRESET)" = dev ]; then $(MAKE) --no-print-directory windows-test; fi

windows-test:
	@VAULTWING_NATIVE_BUILD=$(CURDIR)/build/dev scripts/test-windows.sh

asan-test:
	@$(MAKE) --no-print-directory test PRESET=asan

release:
	@$(MAKE) --no-print-directory build PRESET=release

bench: release
	build/release/bin/bench_cipher

# The Debian package build/release/vaultwing_<version>_<arch>.deb, from a release build of only
# what it holds (no tests, no benchmarks).
package:
	@scripts/install-deps.sh --package
	@[ -f build/release/build.ninja ] || cmake --preset release
	cmake --build --preset release --target vaultwing VWX vaultwing_resources vaultwing_lang vaultwing_compressed_docs
	cd build/release && cpack -G DEB

clean:
	rm -rf build
