# The front door. `make run` and `make test` install what is missing, build and run.
FUZZ_SECONDS ?= 60
CMAKE ?= cmake
# Named by tools/install-deps when it cannot install: what to run again afterwards.
AGAIN = $(strip make $(MAKECMDGOALS))

.PHONY: all deps deps-run build run test windows-test package screenshot sanitize bench fuzz \
	format format-check clean

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

# The core and its tests as Windows programs: cross-compiled with MinGW-w64 and run under Wine,
# once with a Bulgarian and once with an English user locale.
windows-test: deps
	$(CMAKE) --preset windows
	$(CMAKE) --build --preset windows
	tools/with-wine-prefix ctest --preset windows

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
	xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb build/bench/form_bench
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
