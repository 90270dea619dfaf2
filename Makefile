# The two commands a newcomer needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON

WIN_BUILD  ?= build-win
WIN_FLAGS   = -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake

PACKAGE_BUILD ?= build-package

.PHONY: setup build build-asan test test-fast run bench bench-gapless bench-stall soak fuzz artwork install clean windows test-windows package test-package

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja: CMakeLists.txt
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DKESTRAFON_BENCH=ON

$(ASAN_BUILD)/build.ninja: CMakeLists.txt
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DKESTRAFON_SANITIZE=ON -DKESTRAFON_BENCH=OFF

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: setup $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# What the tests run: the program, the test programs and the layout printer
# (not the benchmarks or the artwork tool, which no test needs).
TEST_TARGETS = kestrafon unit_tests audio_tests integration_tests asset_tests e2e_layout

# Every test, in a normal build and again under the sanitizers, then a
# short bounded run of each fuzz target (the playlist reader, the MP3 frame scanner).
test: setup $(BUILD)/build.ninja $(ASAN_BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target $(TEST_TARGETS)
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target $(TEST_TARGETS)
	cd $(BUILD) && ctest --no-tests=error --output-on-failure -j $(JOBS) --timeout 300
	cd $(ASAN_BUILD) && ASAN_OPTIONS=$(ASAN_OPTIONS) LSAN_OPTIONS=$(LSAN_OPTIONS) UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --no-tests=error --output-on-failure -j $(JOBS) --timeout 300 -LE e2e
	@bash scripts/fuzz.sh $(FUZZ_BUILD) 10

# Only the normal build, for quick iterations.
test-fast: build
	cd $(BUILD) && ctest --no-tests=error --output-on-failure -j $(JOBS) --timeout 300

# The Windows program, cross-built with MinGW-w64: $(WIN_BUILD)/kestrafon.exe,
# one file with nothing to ship beside it.
$(WIN_BUILD)/build.ninja: CMakeLists.txt cmake/windows.cmake cmake/mingw-w64-x86_64.cmake
	cmake -S . -B $(WIN_BUILD) $(WIN_FLAGS)

windows: setup $(WIN_BUILD)/build.ninja
	cmake --build $(WIN_BUILD) -j $(JOBS)

# Its tests under Wine: the core's unit tests, the Win32 and sound stream
# tests, and the end-to-end run (label e2e-windows).
test-windows: windows
	cd $(WIN_BUILD) && ctest --output-on-failure --timeout 300

# Only the program: no test, benchmark or artwork tool stands between a
# fresh clone and the player on screen.
run: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target kestrafon
	@bash scripts/run.sh $(BUILD)/kestrafon

bench: build
	@bash scripts/bench.sh $(BUILD)

# The joints of a tone cut into three MP3 pieces, played by the baseline
# (BASELINE=<git ref>) and by this tree, on Linux and under Wine.
bench-gapless: build windows
	@bash bench/gapless.sh $(BUILD) $(WIN_BUILD)

# The longest stall of the window's event loop while 20 tracks play through
# with presses and edits, for the baseline (BASELINE=<git ref>) and this tree,
# on Linux and under Wine.
bench-stall: build windows
	@bash bench/stall.sh $(BUILD) $(WIN_BUILD)

# 1,000 one-second tracks in real time (about 18 minutes): memory, descriptors
# and threads at the start and the end.
soak: build
	$(BUILD)/bench/soak_bench --tracks=1000

fuzz: setup
	@bash scripts/fuzz.sh $(FUZZ_BUILD) 300

artwork: build
	cmake --build $(BUILD) --target draw_artwork
	$(BUILD)/tools/draw_artwork assets --preview docs

install: build
	cmake --install $(BUILD)

# What a user downloads, into dist/: the Debian package, the Windows
# installer and the portable zip, all of the one version in CMakeLists.txt.
VERSION = $(shell awk '/^project/ {print $$3}' CMakeLists.txt)
package: setup windows
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKESTRAFON_BENCH=OFF \
		-DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB
	makensis -V2 -DVERSION=$(VERSION) -DEXE=$(CURDIR)/$(WIN_BUILD)/kestrafon.exe -DLICENSE=$(CURDIR)/LICENSE \
		-DOUTFILE=$(CURDIR)/dist/kestrafon-$(VERSION)-setup.exe packaging/windows/kestrafon.nsi
	rm -rf $(PACKAGE_BUILD)/zip && mkdir -p $(PACKAGE_BUILD)/zip/kestrafon-$(VERSION)
	cp $(WIN_BUILD)/kestrafon.exe LICENSE packaging/windows/README.txt $(PACKAGE_BUILD)/zip/kestrafon-$(VERSION)/
	cd $(PACKAGE_BUILD)/zip && rm -f $(CURDIR)/dist/kestrafon-$(VERSION)-windows-x64.zip && \
		zip -q -r -X $(CURDIR)/dist/kestrafon-$(VERSION)-windows-x64.zip kestrafon-$(VERSION)

# Each package installed, tried and removed as a user would.
test-package: package $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target e2e_layout
	bash tests/packages/deb_package.sh dist/kestrafon_$(VERSION)_amd64.deb $(CURDIR) $(BUILD)/tests/e2e_layout
	bash tests/packages/windows_packages.sh dist/kestrafon-$(VERSION)-setup.exe dist/kestrafon-$(VERSION)-windows-x64.zip \
		$(CURDIR) $(BUILD)/tests/e2e_layout

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN_BUILD) $(PACKAGE_BUILD) dist

ASAN_OPTIONS = detect_leaks=1:abort_on_error=0
LSAN_OPTIONS = suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
