#!/usr/bin/env bash
# Builds the benchmarks in the Release configuration (build-release) and runs
# them one after the other. Only these figures count: the sanitizer build of
# ./test.sh also compiles the benchmarks, but its timings mean nothing.
#   ./bench.sh                      every benchmark program
#   ./bench.sh planets sunmoon      only bench_planets and bench_sunmoon
# Further Google Benchmark options go through BENCH_ARGS, for example
#   BENCH_ARGS="--benchmark_repetitions=5 --benchmark_report_aggregates_only=true" ./bench.sh planets
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
kvx_install_missing "${KVX_BUILD_PACKAGES[@]}"
KVX_NO_RECOMMENDS=1 kvx_install_missing libbenchmark-dev  # listed with the test packages
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKVX_BUILD_BENCH=ON
cmake --build build-release
if [ "$#" -gt 0 ]; then
  programs=()
  for name in "$@"; do programs+=("build-release/bin/bench_${name}"); done
else
  programs=(build-release/bin/bench_*)
fi
for program in "${programs[@]}"; do
  echo "== ${program##*/}"
  # shellcheck disable=SC2086
  "${program}" ${BENCH_ARGS:-}
done
