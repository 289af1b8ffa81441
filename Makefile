# Lumen Almanac: `make run` starts Orrery, `make test` runs every test.
# Both install what is missing (Debian packages) and build first.

BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/Orrery ]; then \
	  exec $(BUILD)/bin/Orrery; \
	else \
	  echo "Built the libraries and the tests; the Orrery program is not part of this build yet."; \
	fi

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	@rm -rf $(BUILD)
