# Lumen Almanac: `make run` starts Orrery (or prints today's report without a
# display), `make test` runs every test.
# Both install what is missing (Debian packages) and build first.

# SANITIZE=1 builds and tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in a folder of its own.
SANITIZE ?=
ifeq ($(SANITIZE),1)
BUILD ?= build-sanitize
SANITIZE_FLAGS = -DLUMEN_SANITIZE=ON
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0
else
BUILD ?= build
SANITIZE_FLAGS = -DLUMEN_SANITIZE=OFF
SANITIZE_ENV =
endif
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(SANITIZE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Without a display, today's report is printed by the command-line companion.
run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  exec $(BUILD)/bin/lumen report; \
	elif [ -x $(BUILD)/bin/Orrery ]; then \
	  exec $(BUILD)/bin/Orrery; \
	else \
	  echo "Orrery is not built yet; here is today's report from lumen."; \
	  exec $(BUILD)/bin/lumen report; \
	fi

test: build
	@cd $(BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	@rm -rf $(BUILD)

# `make fuzz FUZZ_SECONDS=60` builds the fuzz targets with clang in a folder
# of their own and runs each in turn for that long; it fails on any fault.
FUZZ_SECONDS ?= 60
FUZZ_BUILD ?= build-fuzz
.PHONY: fuzz
fuzz: deps
	@scripts/install-fuzz-deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DLUMEN_FUZZ=ON -DLUMEN_BUILD_GUI=OFF -DLUMEN_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	@fuzz/run-all $(FUZZ_BUILD) $(FUZZ_SECONDS)
