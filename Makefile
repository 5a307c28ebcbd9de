# Short entry points over CMake. `make test` works on a fresh Debian 12 machine:
# it installs what is missing, configures, builds and runs every test.
BUILD_DIR ?= build
SAN_BUILD_DIR ?= build-sanitize
JOBS ?= $(shell nproc)
RUN_DIR ?= $(BUILD_DIR)/run-data
PREFIX ?= /usr/local
PACKAGE_BUILD_DIR ?= build-package

# With ccache on the machine, a build compiles only what changed since any earlier build of the
# same sources, wherever the checkout lies (paths are hashed relative to it, so a fresh clone in
# another folder reuses the cache). Without it, nothing changes.
ifneq ($(shell command -v ccache 2>/dev/null),)
COMPILER_LAUNCHER := -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true
endif

.PHONY: deps configure build test test-sanitize run demo demo-run install package clean

deps:
	@sh tools/install-build-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(COMPILER_LAUNCHER)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMARK_SANITIZE=ON \
		-DVELMARK_BUILD_BENCH=OFF $(COMPILER_LAUNCHER)
	cmake --build $(SAN_BUILD_DIR) -j $(JOBS)
	cd $(SAN_BUILD_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

# Starts the desktop program in a fresh copy of data/ as its start directory (TYM.LOG,
# LISTA.UPO and COUNTRIS.CSV land there, not in the source tree); setup.ini sits beside the
# program. Without a display it runs the command-line demo instead.
run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target velmark velmark-batch
	rm -rf $(RUN_DIR) && mkdir -p $(RUN_DIR)/out && cp -R data/. $(RUN_DIR)/
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		echo "Starting VELMARK in $(RUN_DIR) (try the sample log sample.adi there)"; \
		cd $(RUN_DIR) && exec $(CURDIR)/$(BUILD_DIR)/app/gui/velmark; \
	else \
		echo "No display: running the command-line demo instead (make demo)"; \
		$(MAKE) --no-print-directory demo-run; \
	fi

# Sorts the sample log with velmark-batch in the scratch copy of data/ by DXCC list order,
# three QSOs per card, into a CSV mail-merge file.
demo: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target velmark-batch
	rm -rf $(RUN_DIR) && mkdir -p $(RUN_DIR)/out && cp -R data/. $(RUN_DIR)/
	$(MAKE) --no-print-directory demo-run

demo-run:
	$(BUILD_DIR)/app/batch/velmark-batch --start-dir $(RUN_DIR) --lang en --input-type adif \
		--input-date YYYYMMDD --output-type csv --output-date as-input --order dxcc \
		--per-card 3 --no-divide sort $(RUN_DIR)/sample.adi $(RUN_DIR)/out/sample-sorted.csv
	@echo "Outputs (sorted log, COUNTRY.CSV, Report.txt) are in $(RUN_DIR)/out"

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package velmark_<version>_<arch>.deb in $(PACKAGE_BUILD_DIR), without the tests.
# CPack lets dpkg-shlibdeps (dpkg-dev, which needs file) find the package's dependencies.
package: deps
	@dpkg-query -W -f='$${Status}' dpkg-dev 2>/dev/null | grep -q "install ok installed" && \
		dpkg-query -W -f='$${Status}' file 2>/dev/null | grep -q "install ok installed" || \
		{ SUDO=; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
		  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq dpkg-dev file; }
	cmake -S . -B $(PACKAGE_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVELMARK_BUILD_TESTS=OFF
	cmake --build $(PACKAGE_BUILD_DIR) -j $(JOBS)
	cd $(PACKAGE_BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(SAN_BUILD_DIR) $(PACKAGE_BUILD_DIR)
