# Build trees from one source: build/native (portable core under the sanitizers), build/win32 (the
# shipped 32-bit deliverables) and, where this machine's kernel cannot run 32-bit code, build/win64
# (the same sources as 64-bit programs, so that the Windows tests can still run under Wine).
NATIVE := build/native
WIN32 := build/win32
FUZZ := build/fuzz
FUZZ_RUNS ?= 10000000
JOBS ?= 2
# Evaluated when used, after deps has installed Wine.
WINE_ARCH = $(shell tools/wine-arch.sh)
WINTEST = $(if $(filter i686,$(WINE_ARCH)),build/win32,build/win64)

.PHONY: test deps configure build test-native test-fuzz test-wine bench fuzz dist demo format format-check clean

test: build
	ctest --test-dir $(NATIVE) -j$(JOBS) --output-on-failure
	ctest --test-dir $(FUZZ) -j$(JOBS) --output-on-failure
	tools/run-wine-tests.sh $(WINTEST)

deps:
	@tools/setup-deps.sh

configure: deps
	@tools/configure-tree.sh $(NATIVE)
	@tools/configure-tree.sh $(FUZZ) fuzz
	@tools/configure-tree.sh $(WIN32) i686
	@[ $(WINTEST) = $(WIN32) ] || tools/configure-tree.sh $(WINTEST) x86_64

build: configure
	cmake --build $(NATIVE) -j$(JOBS)
	cmake --build $(FUZZ) -j$(JOBS)
	cmake --build $(WIN32) -j$(JOBS)
	@[ $(WINTEST) = $(WIN32) ] || cmake --build $(WINTEST) -j$(JOBS)

test-native: build
	ctest --test-dir $(NATIVE) -j$(JOBS) --output-on-failure

test-fuzz: build
	ctest --test-dir $(FUZZ) -j$(JOBS) --output-on-failure

# Each fuzz target for FUZZ_RUNS executions from the repository's corpus (new finds stay in the build tree).
fuzz: build
	tools/fuzz-long.sh $(FUZZ) $(FUZZ_RUNS)

test-wine: build
	tools/run-wine-tests.sh $(WINTEST)

# Fault injection at its full counts: 100 unplugs, 50 stops, 20 killed clients (make test runs a few of each).
soak: build
	PZ_SOAK=full tools/run-wine-tests.sh $(WINTEST) -L soak

# Wake-ups per minute of the idle service and key host under Wine (docs/performance.md).
idle-cost: build
	tools/idle-cost.sh $(WINTEST)

# Native benchmarks of the pipeline, in a tree without sanitizers; the end-to-end latency under Wine
# (bench/latency); then one table of every figure (docs/performance.md).
bench: deps
	@[ -f build/bench/build.ninja ] || cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DPZ_SANITIZERS=OFF -DPZ_BENCHMARKS=ON >/dev/null
	cmake --build build/bench --target pipeline_bench
	build/bench/bench/pipeline_bench --benchmark_min_time=0.5 --benchmark_out=build/bench/pipeline.csv \
	  --benchmark_out_format=csv
	@tools/configure-tree.sh $(WINTEST) $(WINE_ARCH)
	cmake --build $(WINTEST) -j$(JOBS) --target latency_programs
	bench/latency/run-latency.sh $(WINTEST) >build/bench/latency.txt; status=$$?; echo; \
	  bench/print-table.sh build/bench/pipeline.csv build/bench/latency.txt; exit $$status

# The suite under Wine with a simulated tablet: SCRIPT=path plays your own pen script, KEEP=1 leaves the
# service running afterwards.
demo: deps
	@tools/configure-tree.sh $(WINTEST) $(WINE_ARCH)
	cmake --build $(WINTEST) -j$(JOBS) --target demo_programs
	xvfb-run -a -s "-screen 0 1024x768x24" tools/demo/run-demo.sh $(WINTEST) $(SCRIPT) $(if $(KEEP),--keep)

# The shipped installer and a zip of the deliverables, from the 32-bit tree.
DELIVERABLES := KTPEN.exe KTPEN.dll KtKey.dll PzKeyHost.exe Wintab32.dll
dist: deps
	@tools/configure-tree.sh $(WIN32) i686
	cmake --build $(WIN32) -j$(JOBS)
	@mkdir -p dist
	makensis -V2 -DBIN=$(CURDIR)/$(WIN32)/bin -DOUTFILE=$(CURDIR)/dist/PzTabletSetup.exe tools/installer/PzTablet.nsi
	rm -f dist/PzTablet.zip
	cd $(WIN32)/bin && zip -q $(CURDIR)/dist/PzTablet.zip $(DELIVERABLES)
	cd tools/installer && zip -q $(CURDIR)/dist/PzTablet.zip PzTablet.nsi
	@ls -l dist

format:
	tools/check-format.sh --fix

format-check:
	tools/check-format.sh

clean:
	rm -rf build dist
