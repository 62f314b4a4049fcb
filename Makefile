# Quorvale: `make run` starts the program, `make test` runs every test.
# Both install the Debian packages they need first (tools/ensure-packages.sh): `run`
# only what building and starting the program takes, `test` also what the tests take.

BUILD      ?= build
SANITIZE   ?= build-sanitize
TSAN       ?= build-tsan
RELEASE    ?= build-release
JOBS       ?= $(shell nproc)

.PHONY: all deps deps-run build build-program build-sanitize build-tsan build-release run demo test \
        test-windows package-windows clean

all: build

deps-run:
	@tools/ensure-packages.sh run

deps:
	@tools/ensure-packages.sh test

# The program, the command line and the viewers, without the tests (their packages
# come with `make test`).
build-program: deps-run
	cmake --preset default -B $(BUILD) -DBUILD_TESTING=OFF
	cmake --build $(BUILD) -j $(JOBS)

build: deps
	cmake --preset default -B $(BUILD) -DBUILD_TESTING=ON
	cmake --build $(BUILD) -j $(JOBS)

build-sanitize: deps
	cmake --preset sanitize -B $(SANITIZE)
	cmake --build $(SANITIZE) -j $(JOBS)

# The core and its tests under ThreadSanitizer: generation runs as a job on any thread.
build-tsan: deps
	cmake --preset tsan -B $(TSAN)
	cmake --build $(TSAN) -j $(JOBS) --target core_tests

# What a packager builds: a plain Release configure, without the presets' settings. It
# checks the product's code at full optimisation, where a compiler warns differently;
# the tests (compiled without optimisation anyway) are built in the other trees.
build-release: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(RELEASE) -j $(JOBS)

# With a display: the program. Without one: the demo site, and where to open it.
run: build-program
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD)/bin/quorvale; \
	else \
	  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): the Quorvale window cannot open here,"; \
	  echo "so here is what it makes: the demo project and its site."; \
	  tools/make-demo.sh $(BUILD); \
	fi

# The demo project (three albums drawn at build time) and its generated site.
demo: build-program
	tools/make-demo.sh $(BUILD)

test: build build-sanitize build-tsan build-release
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(SANITIZE) && ctest --output-on-failure -j $(JOBS)
	cd $(TSAN) && ctest --output-on-failure -j $(JOBS) -L core -R 'Generat'
	tools/test-windows.sh $(JOBS)

# The Windows suite alone: the core, quorvale-cli and the core's tests cross-built with
# MinGW-w64 and run under Wine.
test-windows: deps
	tools/test-windows.sh $(JOBS)

# A zip of the Windows command line with its viewers and a README, checked under Wine
# from a fresh unpacking.
package-windows: deps
	tools/package-windows.sh $(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE) $(TSAN) $(RELEASE) build-windows
