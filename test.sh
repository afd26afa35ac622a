#!/usr/bin/env bash
# Installs what the tests need, builds the test configuration (with
# AddressSanitizer and UndefinedBehaviorSanitizer) and the Release
# configuration, both with warnings as errors, runs the fuzz targets briefly,
# checks the format of the program code and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
kvx_install_missing "${KVX_BUILD_PACKAGES[@]}"
KVX_NO_RECOMMENDS=1 kvx_install_missing "${KVX_TEST_PACKAGES[@]}"
# The program code keeps the repository's format (.clang-format).
tools/check_format.sh
# The benchmarks are built once, in the Release configuration below: their
# times under the sanitizers would mean nothing.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKVX_BUILD_TESTS=ON -DKVX_BUILD_BENCH=OFF -DKVX_SANITIZE=ON -DKVX_WERROR=ON
cmake --build build-test
# --- Release configuration (program, theory libraries, benchmarks; no tests):
# it must build without a warning too. Benchmarks are run by ./bench.sh.
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKVX_BUILD_BENCH=ON -DKVX_WERROR=ON
cmake --build build-release
# --- end of the Release configuration
# Every package the build and the tests use must come from tools/packages.sh.
tools/check_packages.sh build-test build-release
# Every fuzz target (tests/fuzz/, a clang build of its own in build-fuzz/) on
# its seeds and a fixed set of mutations, so that they keep building and the
# inputs that once broke a reader stay mended.
KVX_FUZZ_JOBS=${KVX_FUZZ_JOBS:-$(nproc)} ./fuzz.sh --brief
cd build-test
ctest --output-on-failure --parallel "$(nproc)" "$@"
