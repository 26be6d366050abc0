# The two commands a newcomer needs: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build.

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
WERROR := $(if $(CI),ON,OFF)

.PHONY: all deps configure build run test bench bench-app bench-sensors format format-check clean test-tsan test-asan package package-check

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

# The threaded sensor code under ThreadSanitizer, in its own build folder.
TSAN_DIR ?= build-tsan
TSAN_TESTS := tst_dispsensormanager tst_replaysensorlibrary tst_linuxsensorlibrary tst_systemvolume
TSAN_TEST_REGEX := tst_dispsensormanager|tst_replaysensorlibrary|tst_linuxsensorlibrary|tst_systemvolume
test-tsan: deps
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DPANELCAST_TSAN=ON -DPANELCAST_WERROR=$(WERROR)
	cmake --build $(TSAN_DIR) -j $(JOBS) --target $(TSAN_TESTS)
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/sensors/tsan.supp" \
		ctest --test-dir $(TSAN_DIR) --output-on-failure -R '^($(TSAN_TEST_REGEX))$$'

# Code that hands FFmpeg buffers to fill, under AddressSanitizer in its own build folder.
ASAN_DIR ?= build-asan
ASAN_TESTS := tst_dispthemelist
ASAN_TEST_REGEX := tst_dispthemelist
test-asan: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DPANELCAST_ASAN=ON -DPANELCAST_WERROR=$(WERROR)
	cmake --build $(ASAN_DIR) -j $(JOBS) --target $(ASAN_TESTS)
	ASAN_OPTIONS="halt_on_error=1 detect_leaks=0" \
		ctest --test-dir $(ASAN_DIR) --output-on-failure -R '^($(ASAN_TEST_REGEX))$$'

# The Debian package (build/panelcast_<version>_<arch>.deb), installed under /usr.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Checks the package's contents, its rule and unit files and (when installed) lintian.
package-check: package
	scripts/check-package $(BUILD_DIR)/panelcast_*.deb

bench: build
	$(BUILD_DIR)/bench/panelcast-bench

# The whole application streaming to 1 and 4 emulated displays; REPEATS runs of SECONDS each.
bench-app: build
	$(BUILD_DIR)/bench/panelcast-bench-app $(or $(REPEATS),3) $(or $(SECONDS),10)

bench-sensors: build
	$(BUILD_DIR)/bench/panelcast-bench-sensors 200 tests/data/sensors/linux/intel-desktop tests/data/sensors/linux/amd-desktop

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	rm -rf $(BUILD_DIR)
