# Short entry points over CMake. `make test` works on a fresh Debian 12 machine:
# it installs what is missing, configures, builds and runs every test.
BUILD_DIR ?= build
SAN_BUILD_DIR ?= build-sanitize
JOBS ?= $(shell nproc)
RUN_DIR ?= $(BUILD_DIR)/run-data
PREFIX ?= /usr/local

.PHONY: deps configure build test test-sanitize run install clean

deps:
	@sh tools/install-build-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMARK_SANITIZE=ON
	cmake --build $(SAN_BUILD_DIR) -j $(JOBS)
	cd $(SAN_BUILD_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

# Sorts the sample log in a scratch copy of data/ (the start directory, where TYM.LOG and
# LISTA.UPO go) by DXCC list order, three QSOs per card, into a CSV mail-merge file.
run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target velmark-batch
	rm -rf $(RUN_DIR) && mkdir -p $(RUN_DIR)/out && cp -R data/. $(RUN_DIR)/
	$(BUILD_DIR)/app/batch/velmark-batch --start-dir $(RUN_DIR) --lang en --input-type adif \
		--input-date YYYYMMDD --output-type csv --output-date as-input --order dxcc \
		--per-card 3 --no-divide sort $(RUN_DIR)/sample.adi $(RUN_DIR)/out/sample-sorted.csv
	@echo "Outputs (sorted log, COUNTRY.CSV, Report.txt) are in $(RUN_DIR)/out"

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR) $(SAN_BUILD_DIR)
