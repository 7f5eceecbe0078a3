# The two commands of the project: `make test` and `make run`. Both install the Debian
# packages listed in packages.d/*.txt when some are missing, configure and build.
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=
DATA    ?= $(CURDIR)/rundata

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
PACKAGES := $(shell cat packages.d/*.txt 2>/dev/null | sed 's/\#.*//' | tr -s ' \n' ' ')

.PHONY: all deps configure build test run interop bench package clean guide-screens soak

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then \
	  cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS); \
	fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 900

# Starts the desktop program; FOCARIS_HOME keeps its folders (Data, Temp) under rundata/.
run: build
	mkdir -p $(DATA)
	FOCARIS_HOME=$(DATA) $(BUILD)/src/app/focaris

# The pictures of the clerk's guide (docs/screens): the month's road test takes drum-*.png,
# and focaris-screens (tools/screens) every window of a fresh installation, on a private X
# server of the guide's screen size, started on a scratch data folder.
guide-screens: build
	QT_QPA_PLATFORM=offscreen FOCARIS_SCREENSHOTS=$(CURDIR)/docs/screens $(BUILD)/tests/road/road_tests
	@home=$$(mktemp -d); \
	FOCARIS_HOME=$$home/run XDG_DATA_HOME=$$home/xdg FOCARIS_MACHINE_DIR=$$home/machine FOCARIS_SAVE_ROOTS= \
	  xvfb-run -a -s "-screen 0 1366x768x24" $(BUILD)/tools/screens/focaris-screens $(CURDIR)/docs/screens; \
	status=$$?; rm -rf $$home; exit $$status

# Checks against other programs and the reference files (LibreOffice, the shared corpus);
# not part of `make test`. Each interop/*.sh runs with the build folder as argument.
interop: build
	@set -e; for s in interop/*.sh; do echo "== $$s"; bash $$s $(abspath $(BUILD)); done

# The Debian package: $(BUILD)/package/focaris_VERSION_amd64.deb.
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	@set -e; for b in $(BUILD)/bench/bench_*; do [ -x $$b ] && { echo "== $$b"; $$b; }; done

# Several processes on one data folder: each pair of writing operations twenty times with
# more rows than `make test` uses; prints the figures (keys given twice, updates lost, ...).
soak: build
	/usr/bin/python3 tests/concurrency/pairs.py --tool $(BUILD)/src/tool/focaris-tool --rounds 20 --rows 20

clean:
	rm -rf $(BUILD)
