#!/usr/bin/env bash
# Installs what the tests need, builds the test configuration (with
# AddressSanitizer and UndefinedBehaviorSanitizer), runs the fuzz targets
# briefly and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
kvx_install_missing "${KVX_BUILD_PACKAGES[@]}"
KVX_NO_RECOMMENDS=1 kvx_install_missing "${KVX_TEST_PACKAGES[@]}"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKVX_BUILD_TESTS=ON -DKVX_BUILD_BENCH=ON -DKVX_SANITIZE=ON
cmake --build build-test
# Every package the build and the tests use must come from tools/packages.sh.
tools/check_packages.sh build-test
# Every fuzz target (tests/fuzz/, a clang build of its own in build-fuzz/) on
# its seeds and for a few seconds more, so that they keep building and the
# inputs that once broke a reader stay mended.
./fuzz.sh --brief
cd build-test
ctest --output-on-failure --parallel "$(nproc)" "$@"
