# Quick start: `make run` and `make test`. Everything else is a convenience
# around CMake; the build itself lives in build/ (or build-asan/, build-tsan/, build-fuzz/).

BUILD    ?= build
JOBS     ?= 2
CMAKE    ?= cmake
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

# Debian packages the build, the tests, the tools and the benchmarks need.
PACKAGES := g++ cmake ninja-build pkg-config zlib1g-dev libsdl2-dev libgl-dev \
            libgl1-mesa-dri libgtest-dev libgmock-dev libbenchmark-dev libpng-dev \
            xvfb xauth libturbojpeg0-dev libvorbis-dev libopus-dev libebur128-dev \
            libcairo2-dev libfreetype-dev fonts-averia-sans-gwf xfonts-base \
            desktop-file-utils appstream
# What `make fuzz` needs beyond them: clang and its libFuzzer and sanitizer runtimes.
FUZZ_PACKAGES := clang libclang-rt-dev
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Installs the Debian packages among $(1) that are not installed yet.
install_missing = missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

# Window tests need a display; without one they run under a virtual X server. Whether there
# is one is decided when the tests start, after `deps` may have installed Xvfb: the first
# `make test` on a fresh machine must run them, not skip them. With CI set, a test that
# finds no display fails.
XVFB_RUN := xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: all deps deps-fuzz configure build run view editor body-editor install test bench asan tsan fuzz clean FORCE

all: build

deps:
	@$(call install_missing,$(PACKAGES))

deps-fuzz: deps
	@$(call install_missing,$(FUZZ_PACKAGES))

# The CMake arguments a build folder was configured with. When CMAKE_ARGS differs from them
# the folder is configured again, and arguments given before but not now are taken out of
# its cache first (-U), so that they fall back to their defaults: `make test` after
# `make test CMAKE_ARGS=-DTAMBLE_WERROR=ON` builds without -Werror again. The generator is
# only chosen for a new folder.
$(BUILD)/cmake-args: FORCE
	@mkdir -p $(BUILD)
	@printf '%s\n' '$(subst ','\'',$(CMAKE_ARGS))' | cmp -s - $@ || printf '%s\n' '$(subst ','\'',$(CMAKE_ARGS))' > $@

$(BUILD)/CMakeCache.txt: $(BUILD)/cmake-args
	@if [ -f $@ ]; then \
	  unset=$$(for a in $$(cat $(BUILD)/cmake-args.used 2>/dev/null); do \
	    case "$$a" in -D*) n=$${a#-D}; n=$${n%%=*}; echo "-U$${n%%:*}";; esac; done); \
	  echo $(CMAKE) -S . -B $(BUILD) $$unset $(CMAKE_ARGS); \
	  $(CMAKE) -S . -B $(BUILD) $$unset $(CMAKE_ARGS); \
	else \
	  echo $(CMAKE) -S . -B $(BUILD) -G "$(GENERATOR)" $(CMAKE_ARGS); \
	  $(CMAKE) -S . -B $(BUILD) -G "$(GENERATOR)" $(CMAKE_ARGS); \
	fi
	@cp $(BUILD)/cmake-args $(BUILD)/cmake-args.used
	@touch $@

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	$(CMAKE) --build $(BUILD) -j $(JOBS)

# The game, in a window, on the archive the build made (Alt+Enter: full screen). Its save
# file is the player's own (~/.local/share/tamble/config.dat). RUN_ARGS adds options, e.g.
# RUN_ARGS="--data base" to play the level sources without packing them again.
RUN_ARGS ?=
run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$SDL_VIDEODRIVER" ]; then \
	  echo "make run built everything, but the game opens a window and there is no display here"; \
	  echo "(DISPLAY and WAYLAND_DISPLAY are not set). Run it from a desktop session; headless,"; \
	  echo "'make test' plays it under Xvfb."; \
	  exit 1; \
	fi
	./$(BUILD)/program/tamble --windowed --archive $(BUILD)/tamble.pk2 $(RUN_ARGS)

# The level editor on the checkout's level sources: levels/ of base/ is where it opens and
# saves, with the types of base/ and the textures of the built archive.
editor: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$SDL_VIDEODRIVER" ]; then \
	  echo "make editor built everything, but the editor opens a window and there is no display here."; \
	  exit 1; \
	fi
	./$(BUILD)/program/tamble editor --data base --archive $(BUILD)/tamble.pk2 $(RUN_ARGS)

# The body editor on the checkout's type sources: bodies/ of base/ is where it opens and
# saves, with the textures of the built archive in its list. The program ends the body
# editor with exit status 1, which is its normal end here.
body-editor: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$SDL_VIDEODRIVER" ]; then \
	  echo "make body-editor built everything, but the editor opens a window and there is no display here."; \
	  exit 1; \
	fi
	./$(BUILD)/program/tamble body_editor --data base --archive $(BUILD)/tamble.pk2 $(RUN_ARGS); \
	  status=$$?; [ $$status -eq 1 ] || exit $$status

# The live physics viewer on one level: make view RUN_LEVEL=base/levels/Pair.LEVL.txt
RUN_LEVEL ?= base/levels/Drop.LEVL.txt
RUN_DATA  ?= base
view: build
	./$(BUILD)/tools/sim/tamble-sim view $(RUN_LEVEL) --data $(RUN_DATA) --archive $(BUILD)/tamble.pk2 --windowed

# Installs the game (program, archive, desktop entry, AppStream metadata, icon) under PREFIX.
PREFIX ?= /usr/local
install: build
	$(CMAKE) --install $(BUILD) --prefix $(PREFIX)

test: build
	@cd $(BUILD) && if [ -z "$$DISPLAY" ] && command -v xvfb-run >/dev/null 2>&1; then \
	  echo "Running the tests under Xvfb"; \
	  SDL_AUDIODRIVER=dummy $(XVFB_RUN) ctest --output-on-failure -j $(JOBS); \
	else \
	  SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS); \
	fi

# The rendering benchmarks draw with GL: without a display they run under Xvfb.
bench: build
	@run=""; if [ -z "$$DISPLAY" ] && command -v xvfb-run >/dev/null 2>&1; then run='$(XVFB_RUN)'; fi; \
	for b in $$(find $(BUILD)/bench -maxdepth 2 -type f -executable -name 'bench_*' | sort); do echo "== $$b"; eval $$run $$b; done

# The whole suite (fuzz corpora included) under AddressSanitizer and UBSan. System libraries
# loaded by SDL keep a few allocations until exit; see tests/lsan.supp. CMAKE_ARGS given on
# the command line are added (CI adds -DTAMBLE_WERROR=ON).
asan:
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp $(MAKE) test BUILD=build-asan CMAKE_ARGS="-DTAMBLE_ASAN=ON -DTAMBLE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug $(CMAKE_ARGS)"

# Mesa's software rasteriser runs threads ThreadSanitizer cannot see into; see tests/tsan.supp.
tsan:
	TSAN_OPTIONS=suppressions=$(CURDIR)/tests/tsan.supp $(MAKE) test BUILD=build-tsan CMAKE_ARGS="-DTAMBLE_TSAN=ON -DTAMBLE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug $(CMAKE_ARGS)"

fuzz: deps-fuzz
	CC=clang CXX=clang++ $(CMAKE) -S . -B build-fuzz -G "$(GENERATOR)" -DTAMBLE_FUZZ=ON -DTAMBLE_ASAN=ON \
	  -DTAMBLE_BENCH=OFF -DTAMBLE_WINDOW=OFF -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
	$(CMAKE) --build build-fuzz -j $(JOBS)

clean:
	rm -rf build build-asan build-tsan build-fuzz
