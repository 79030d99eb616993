# Quillora: the two commands.
#   make run    install what is missing, build, start the player
#   make test   install what is missing, build, run every test
# Both work on a fresh Debian 12 machine (apt-get through sudo when not root).

BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
ARGS       ?=
FUZZ_SECONDS ?= 600

.PHONY: all deps configure build run test asan tsan fuzz bench clean

all: build

deps:
	@./Tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Opens the window; ARGS go to the player, e.g.
#   make run ARGS="--catalogue file:///path/to/stations.csv"
#   make run ARGS="--headless"      (no window: media controls only)
run: build
	@case " $(ARGS) " in *" --headless "*|*" --help "*|*" --version "*) ;; *) \
	  if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	    echo "No display to open the window on; try make run ARGS=--headless"; exit 1; fi;; esac; \
	exec $(BUILD)/quillora $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	$(MAKE) test BUILD=build-asan BUILD_TYPE=Debug \
		CMAKE_ARGS="-DQUILLORA_SANITIZE=address,undefined $(CMAKE_ARGS)"

# The whole suite under ThreadSanitizer (Tests/tsan.supp silences the
# uninstrumented libraries only; tests start helper processes, hence
# die_after_fork=0).
tsan:
	TSAN_OPTIONS="suppressions=$(CURDIR)/Tests/tsan.supp die_after_fork=0 $(TSAN_OPTIONS)" \
	$(MAKE) test BUILD=build-tsan BUILD_TYPE=Debug \
		CMAKE_ARGS="-DQUILLORA_SANITIZE=thread $(CMAKE_ARGS)"

# libFuzzer targets, built with clang under ASan and UBSan, each run for
# FUZZ_SECONDS on its corpus in Tests/*/Fuzz/corpus.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DQUILLORA_FUZZ=ON -DQUILLORA_WITH_QT=OFF -DQUILLORA_SANITIZE=address,undefined
	cmake --build build-fuzz -j $(JOBS)
	./Tools/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS)

# Benchmarks: release build, then every comparison script.
bench:
	$(MAKE) build BUILD=build-release BUILD_TYPE=Release
	./Benchmarks/run-all.sh build-release

clean:
	rm -rf build build-asan build-tsan build-fuzz build-release
