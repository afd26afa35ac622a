#!/usr/bin/env bash
# The package check finds a package the lists leave out: with the Boost
# headers taken from the lists it must name their package.
#   tools/check_packages_test.sh BUILD_DIR
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
lists=" ${KVX_BUILD_PACKAGES[*]} ${KVX_TEST_PACKAGES[*]} "
lists=${lists/ libboost-dev / }
output=$(tools/check_packages.sh --lists "$lists" "$1")
status=$?
echo "$output"
if [ "$status" -eq 0 ] || ! grep -q '^missing package: libboost[0-9.]*-dev (needed for /usr/include/boost/' <<<"$output"; then
  echo "FAILED: the Boost headers' package was not reported"
  exit 1
fi
echo "the missing Boost package was reported"
