# The front door. `make run` and `make test` install what is missing, build and run.
FUZZ_SECONDS ?= 60
CMAKE ?= cmake
# Named by tools/install-deps when it cannot install: what to run again afterwards.
AGAIN = $(strip make $(MAKECMDGOALS))

.PHONY: all deps deps-run build run test test-debian13 package screenshot sanitize bench fuzz \
	format format-check clean windows-deps windows-qt windows windows-test windows-package \
	windows-screenshot

all: build

# Everything that any target here uses.
deps:
	@tools/install-deps test '$(AGAIN)'

# Only what building and showing the program needs.
deps-run:
	@tools/install-deps run '$(AGAIN)'

# The whole build: the program, its tools, the tests and the benchmarks.
build: deps
	$(CMAKE) --preset release -DBUILD_TESTING=ON -DPELMORA_BENCH=ON
	$(CMAKE) --build --preset release

# Only the program. A first configure here leaves the tests and benchmarks out, so that their
# packages are not needed; a build directory that has them keeps them.
run: deps-run
	$(CMAKE) --preset release $(if $(wildcard build/CMakeCache.txt),,-DBUILD_TESTING=OFF -DPELMORA_BENCH=OFF)
	$(CMAKE) --build --preset release --target pelmora
ifneq ($(DISPLAY)$(WAYLAND_DISPLAY),)
	build/app/pelmora
else
	tools/run-headless build/app/pelmora build/screenshot.png
endif

test: build
	ctest --preset release

# Debian 13 (Qt 6.8, GCC 14, LLVM 19, Wine 10): this system, or the one that tools/with-debian13
# keeps beside it (as root; ~/.cache/pelmora/debian13).
ON_DEBIAN13 := $(if $(shell grep -sx 'VERSION_CODENAME=trixie' /etc/os-release),yes)
IN_DEBIAN13 = $(if $(ON_DEBIAN13),,tools/with-debian13)

# The whole test suite on Debian 13 as well, against its Qt 6.8.
test-debian13:
	$(IN_DEBIAN13) make test

# Windows. Pelmora for Windows is made on Debian 13, with its Qt 6.8 tools, MinGW-w64 (GCC 14) and
# Wine 10; from any other system these targets run there through tools/with-debian13. Qt for
# Windows is built once from Debian's own source into ~/.cache/pelmora (tools/windows/build-qt,
# about half an hour the first time); the program, its tests and its installer are
# cross-compiled against it with MinGW-w64 into build-windows/, and run under Wine.
WINDOWS_TARGETS = windows-qt windows windows-package windows-test windows-screenshot
ifeq ($(ON_DEBIAN13),yes)
QT_WINDOWS = $(shell tools/windows/build-qt --prefix)

windows-deps:
	@tools/install-deps windows '$(AGAIN)'

windows-qt: windows-deps
	tools/windows/build-qt >/dev/null

# Pelmora.exe: one static program that needs no DLL beside Windows' own.
windows: windows-qt
	@grep -qsF '$(QT_WINDOWS)/' build-windows/CMakeCache.txt || rm -rf build-windows
	PELMORA_QT_WINDOWS='$(QT_WINDOWS)' $(CMAKE) --preset windows
	$(CMAKE) --build --preset windows --target pelmora
	@echo "build-windows/Pelmora.exe: $$(stat -c %s build-windows/Pelmora.exe) bytes"

# The installer pelmora-<version>-x64-setup.exe, the portable zip, the relink kit and the source of
# Qt for Windows, in build-windows/.
windows-package: windows
	$(CMAKE) --build --preset windows --target windows_package

# The core's and the window's tests as Windows programs, and the installer, under Wine. The core's
# tests run once with a Bulgarian and once with an English user locale.
windows-test: windows-package
	$(CMAKE) --build --preset windows
	tools/windows/with-wine-prefix ctest --preset windows

# The real window under Wine, as it opens and after a calculation done with the keyboard.
windows-screenshot: windows
	tools/windows/with-wine-prefix tools/windows/screenshot build-windows/Pelmora.exe build-windows
else
$(WINDOWS_TARGETS):
	tools/with-debian13 make $@
endif

package: build
	$(CMAKE) --build --preset release --target package

screenshot: build
	mkdir -p docs
	QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 build/tools/window_screenshot docs/screenshot.png

sanitize: deps
	$(CMAKE) --preset asan
	$(CMAKE) --build --preset asan
	ctest --preset asan

bench: build
	build/bench/core_bench
	QT_QPA_PLATFORM=offscreen build/bench/form_bench
	tools/with-display x11 build/bench/form_bench
	bench/startup/run-startup-bench build
	bench/startup/count-startup-instructions build

fuzz: deps
	$(CMAKE) --preset fuzz
	$(CMAKE) --build --preset fuzz
	mkdir -p build-fuzz/corpus
	build-fuzz/fuzz/conversions_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	    -rss_limit_mb=4096 -max_len=1048576 build-fuzz/corpus fuzz/corpus

SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h')

format: deps
	clang-format -i $(SOURCES)

format-check: deps
	clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf build build-asan build-fuzz build-windows
