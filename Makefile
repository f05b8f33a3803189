# The commands a newcomer types. Each works on a fresh Debian 12 machine and
# again without redoing work.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# CI builds with warnings as errors; a newcomer's build only shows them. CI
# keeps only line tables as debug info: its trees are never debugged.
ifeq ($(CI),true)
CMAKE_FLAGS += -DVELTRANE_WERROR=ON -DVELTRANE_LINE_TABLES=ON
endif

DEBIAN_PACKAGES = cmake g++ make pkg-config libgtest-dev libgmock-dev libpcre2-dev libexiv2-dev libtag1-dev \
  qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation help2man librsvg2-bin bash-completion
# Only the targets that need them install these.
BENCH_PACKAGES = hyperfine mmv time rename exfatprogs exfat-fuse openssh-server sshfs strace libimage-exiftool-perl
FUZZ_PACKAGES = clang libclang-rt-14-dev
SHOT_PACKAGES = xvfb xauth imagemagick
# The window natively under Wayland.
RUN_PACKAGES = qt6-wayland
PACKAGE_PACKAGES = dpkg-dev file lintian desktop-file-utils appstream man-db xdg-utils
# Debian 12's clang-format and clang-tidy (14): a newer one formats differently.
LINT_PACKAGES = clang-format clang-tidy

# What is formatted, and what clang-tidy reads (the Qt-free layers; their
# headers through .clang-tidy's HeaderFilterRegex).
FORMAT_FILES = $(shell git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.c' \
  'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
LINT_LAYERS = platform engine passes results cli
LINT_FILES = $(foreach layer,$(LINT_LAYERS),$(filter src/$(layer)/%.cpp,$(FORMAT_FILES)))

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps deps-bench deps-fuzz deps-shot deps-run deps-package configure build test run cli bench fuzz \
  screenshot package package-check sanitize tsan clean deps-lint format format-check lint

define install_missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(DEBIAN_PACKAGES))
deps-bench:
	$(call install_missing,$(BENCH_PACKAGES))
deps-fuzz:
	$(call install_missing,$(FUZZ_PACKAGES))
deps-shot:
	$(call install_missing,$(SHOT_PACKAGES))
deps-run:
	$(call install_missing,$(RUN_PACKAGES))
deps-package:
	$(call install_missing,$(PACKAGE_PACKAGES))
deps-lint:
	$(call install_missing,$(LINT_PACKAGES))

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Builds the window and what it needs, not the tests and benchmarks.
run: deps configure deps-run
	@if grep -q '^VELTRANE_GUI:BOOL=OFF' $(BUILD)/CMakeCache.txt; then \
	  cmake --build $(BUILD) -j $(JOBS) --target veltrane-cli && exec $(BUILD)/src/cli/veltrane-cli --help; \
	else cmake --build $(BUILD) -j $(JOBS) --target veltrane && exec $(BUILD)/src/app/veltrane $(ARGS); fi

cli: build
	$(BUILD)/src/cli/veltrane-cli --help

bench: build deps-bench
	bash bench/run $(BUILD)

FUZZ_SECONDS ?= 60
fuzz: deps deps-fuzz
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_C_COMPILER=clang -DVELTRANE_GUI=OFF -DVELTRANE_TESTS=OFF -DVELTRANE_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)
	bash fuzz/run build-fuzz $(FUZZ_SECONDS)

screenshot: deps configure deps-shot
	cmake --build $(BUILD) -j $(JOBS) --target veltrane-screenshot
	-cmake --build $(BUILD) -j $(JOBS) --target bench_make_photos
	bash docs/screenshot.sh $(BUILD)

# The Debian package, $(BUILD)/veltrane_VERSION_ARCH.deb
package: build deps-package
	cd $(BUILD) && cpack -G DEB
# Validates, installs, tries and removes the package (needs root or sudo).
package-check: package
	bash .ci/check-package $(BUILD)

# The tests under AddressSanitizer and UndefinedBehaviorSanitizer, and under ThreadSanitizer.
# These trees build the programs and their tests only: desktop data, package and
# benchmarks are the plain tree's.
SANITIZER_TREE = -DVELTRANE_DESKTOP_DATA=OFF -DVELTRANE_BENCH=OFF
sanitize: deps
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="$(CMAKE_FLAGS) $(SANITIZER_TREE) -DVELTRANE_SANITIZE=address,undefined"
tsan: deps
	$(MAKE) test BUILD=build-tsan CMAKE_FLAGS="$(CMAKE_FLAGS) $(SANITIZER_TREE) -DVELTRANE_SANITIZE=thread"

# Formats the tree in place; format-check fails on any difference.
format: deps-lint
	clang-format -i $(FORMAT_FILES)
format-check: deps-lint
	clang-format --dry-run --Werror $(FORMAT_FILES)

# clang-tidy (.clang-tidy) over the compile commands of a configured tree, one
# file per job; fails on any finding.
lint: deps deps-lint configure
	@printf '%s\n' $(LINT_FILES) | xargs -P $(JOBS) -n 1 clang-tidy -p $(BUILD) --quiet --warnings-as-errors='*'

clean:
	rm -rf $(BUILD) build-asan build-tsan build-fuzz
