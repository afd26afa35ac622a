#!/usr/bin/env bash
# Installs what the build needs, builds the program (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
kvx_install_missing "${KVX_BUILD_PACKAGES[@]}"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-release --target kandrevoltinex
exec build-release/bin/kandrevoltinex "$@"
