# Entry points only: CMake does the building, tools/ the set-up.
#   make test    install what is missing, build everything, run every test
#   make run     build the x86_64 program and start it under Wine (screenshot when headless)
#   make bench   build and run the benchmarks
#   make dist    build/dist/Qelmora-4.2.zip: the i686 program, its notes file and its page
#   make format  clang-format the sources

SHELL := /bin/bash
BUILD := build
NATIVE := $(BUILD)/native
WIN64 := $(BUILD)/win64
WIN32 := $(BUILD)/win32

# configure(dir, toolchain file or empty): only once; CMake re-runs itself when it must.
define configure
	@[ -f $(1)/build.ninja ] || cmake -S . -B $(1) -G Ninja \
		$(if $(2),-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/$(2))
endef

.PHONY: all deps configure build test run bench dist format clean

all: build

deps:
	@tools/install-deps

configure: deps
	$(call configure,$(NATIVE),)
	$(call configure,$(WIN64),mingw-x86_64-posix.cmake)
	$(call configure,$(WIN32),mingw-i686-win32.cmake)

build: configure
	cmake --build $(NATIVE)
	cmake --build $(WIN64)
	cmake --build $(WIN32)

# One ctest run over both test trees, so that a single summary closes the output.
test: build
	@printf 'subdirs("native" "win64")\n' >$(BUILD)/CTestTestfile.cmake
	@status=0; ctest --test-dir $(BUILD) -V --no-tests=error || status=$$?; tools/wine-stop; exit $$status

run: configure
	cmake --build $(WIN64) --target Qelmora qel_guide_page qel_process_notes
	tools/run-demo $(WIN64)/Qelmora.exe

bench: build
	@status=0; \
	cmake --build $(NATIVE) --target run_benches && \
	cmake --build $(WIN64) --target run_benches || status=$$?; \
	tools/wine-stop; exit $$status

# The web-site address is the win32 build's QEL_WEB_SITE setting (see README).
dist: configure
	cmake --build $(WIN32) --target dist

format:
	@tools/install-deps clang-format
	find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 -r clang-format -i

clean:
	rm -rf $(NATIVE) $(WIN64) $(WIN32) $(BUILD)/dist $(BUILD)/CTestTestfile.cmake
