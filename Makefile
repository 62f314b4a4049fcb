# Quorvale: `make run` starts the program, `make test` runs every test.
# Both install the Debian packages they need first (tools/ensure-packages.sh).

BUILD      ?= build
SANITIZE   ?= build-sanitize
JOBS       ?= $(shell nproc)

.PHONY: all deps build build-sanitize run demo test test-windows clean

all: build

deps:
	@tools/ensure-packages.sh

build: deps
	cmake --preset default
	cmake --build $(BUILD) -j $(JOBS)

build-sanitize: deps
	cmake --preset sanitize
	cmake --build $(SANITIZE) -j $(JOBS)

# With a display: the program. Without one: the demo site, and where to open it.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/bin/quorvale; \
	else \
	  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): the Quorvale window cannot open here,"; \
	  echo "so here is what it makes: the demo project and its site."; \
	  tools/make-demo.sh $(BUILD); \
	fi

# The demo project (three albums drawn at build time) and its generated site.
demo: build
	tools/make-demo.sh $(BUILD)

test: build build-sanitize
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(SANITIZE) && ctest --output-on-failure -j $(JOBS)
	tools/test-windows.sh $(JOBS)

# The Windows suite alone: the core, quorvale-cli and the core's tests cross-built with
# MinGW-w64 and run under Wine.
test-windows: deps
	tools/test-windows.sh $(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE) build-windows
