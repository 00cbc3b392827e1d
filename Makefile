# Corvane: `make run` shows a wake on loopback, `make test` builds everything and runs every test.
# Tests run in a network namespace of their own with only loopback (tools/isolated-run).
JOBS ?= 2
# Seconds of fuzzing per target in `make fuzz`.
FUZZ_SECONDS ?= 30
MAKEFLAGS += --no-print-directory
# The version of the packages: the CMake project version.
VERSION := $(shell sed -n 's/^project.Corvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

.PHONY: all deps build build-native build-windows build-asan run run-windows test test-native \
        test-asan test-windows package test-package fuzz bench bench-size bench-gui bench-status \
        bench-web format format-check check-layers clean

all: build

deps:
	@tools/install-deps

build-native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

build-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)

build-windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

build: build-native build-windows

# Wakes 00-11-22-33-44-55 on the loopback broadcast address and shows what the monitor saw.
# Builds only the two programs it runs.
run: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS) --target corvane corvane-monitor
	@tools/demo.sh build/native

run-windows: build-windows
	@tools/run-windows.sh build/windows $(ARGS)

test-native: build-native
	tools/isolated-run ctest --preset native -j $(JOBS)

test-asan: build-asan
	tools/isolated-run ctest --preset asan -j $(JOBS)

test-windows: build-windows
	tools/isolated-run tools/wine-ctest.sh build/windows -j $(JOBS)

# build/packages: corvane_$(VERSION)_amd64.deb, libcorvane-dev_$(VERSION)_amd64.deb and
# corvane-$(VERSION)-win64.zip, made by CPack from the install rules.
package: build-native build-windows
	rm -rf build/packages
	cpack --preset native
	cpack --preset windows

# The packages as a user gets them: lintian, man pages, a wake from the unpacked .deb, the zip's
# files and version resources, and the Wine whole-program tests against the unpacked zip.
test-package: package
	tools/isolated-run tests/package/check-deb.sh build/packages $(VERSION)
	tools/isolated-run tests/package/check-zip.sh build/packages $(VERSION) build/windows

test: format-check check-layers test-native test-asan test-windows test-package

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS) --target fuzz_IntConv fuzz_ParseAddressText \
	    fuzz_AddressCheck fuzz_CommandLine fuzz_Relay fuzz_HostsFile
	tools/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

bench: build-native
	build/native/corvane_bench
	bench/cli-wake.sh build/native

# --status over 10,000 machines that answer, in namespaces the script makes, against a bare
# epoll program (bench/status-10k.sh; needs root).
bench-status: build-native
	bench/status-10k.sh build/native

# corvane-web's memory, idle silence and throughput, on loopback inside isolated-run.
bench-web: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS) --target corvane-web
	tools/isolated-run bench/web.sh build/native

# Sizes of the executables in the packages (make package first).
bench-size:
	bench/size.sh build/packages

# corvane.exe's start-up under Wine against the floor program (bench/gui-start.sh).
bench-gui: build-windows
	tools/isolated-run bench/gui-start.sh build/windows

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# No #include crosses a layer the wrong way (see the README's architecture notes).
check-layers: deps
	tools/check-layers

format-check: deps
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
