# Vantrel — the README's commands. Each target installs what is missing first.
BUILD       ?= build
JOBS        ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
SANITIZED_TESTS ?= -L unit

.PHONY: all deps configure build run test bench asan tsan format format-check clean install package

all: build

deps:
	@./scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	QT_LOGGING_RULES="vantrel.capture.debug=true" $(BUILD)/src/app/vantrel

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench:
	@./scripts/install-deps --bench
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DVANTREL_BUILD_TESTS=OFF
	cmake --build $(BUILD)-bench -j $(JOBS)
	./scripts/run-benchmarks $(BUILD)-bench

asan: deps
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=address -DVANTREL_BUILD_BENCH=OFF
	cmake --build $(BUILD)-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(BUILD)-asan --output-on-failure -j $(JOBS)

tsan: deps
	cmake -S . -B $(BUILD)-tsan -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=thread -DVANTREL_BUILD_BENCH=OFF
	cmake --build $(BUILD)-tsan -j $(JOBS)
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  ctest --test-dir $(BUILD)-tsan --output-on-failure -j $(JOBS) $(SANITIZED_TESTS)

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails, naming each file and line, when a tracked source is not formatted as `make format` would.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

# DESTDIR=/staging stages the installation; PREFIX=/usr replaces the configured prefix.
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# The Debian package (vantrel_VERSION_ARCH.deb) in the build folder.
package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan $(BUILD)-tsan
