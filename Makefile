# The two commands a newcomer needs: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build.

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
WERROR := $(if $(CI),ON,OFF)

.PHONY: all deps configure build run test bench format clean

all: build

deps:
	@scripts/install-deps --quiet

# Configuring again is cheap and keeps the warning policy in step with $$CI.
configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DPANELCAST_WERROR=$(WERROR) > $(BUILD_DIR).configure.log \
		|| { cat $(BUILD_DIR).configure.log; exit 1; }

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Without a supported device attached, a virtual display starts beside the application.
run: build
	scripts/run-panelcast $(BUILD_DIR)

# Tests run under Xvfb when no display is available, so GUI tests work on
# headless machines and CI alike.
test: build
	@if [ -z "$${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then \
		xvfb-run -a -s "-screen 0 1920x1080x24" ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS); \
	else \
		ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS); \
	fi

bench: build
	$(BUILD_DIR)/bench/panelcast-bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
