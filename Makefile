# Quorvale: `make run` starts the program, `make test` runs every test.
# Both install the Debian packages they need first (tools/ensure-packages.sh).

BUILD      ?= build
SANITIZE   ?= build-sanitize
JOBS       ?= $(shell nproc)

.PHONY: all deps build build-sanitize run test clean

all: build

deps:
	@tools/ensure-packages.sh

build: deps
	cmake --preset default
	cmake --build $(BUILD) -j $(JOBS)

build-sanitize: deps
	cmake --preset sanitize
	cmake --build $(SANITIZE) -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/bin/quorvale; \
	else \
	  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): the Quorvale window cannot open here."; \
	  echo "Run 'make run' from a desktop session, or try 'xvfb-run make run' to start it on a virtual display."; \
	fi

test: build build-sanitize
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(SANITIZE) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE)
