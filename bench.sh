#!/usr/bin/env bash
# Builds the benchmarks in the Release configuration (build-release) and runs
# them one after the other. Only these figures count: ./test.sh builds the
# same configuration but runs no benchmark, and its sanitizer build leaves
# the benchmarks out.
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
# No window may wait for a person: the offscreen platform, and settings and
# data folders of the run's own. Each program gets at most ten minutes
# (BENCH_TIMEOUT seconds); one that fails or runs over is named at the end
# and the others still run.
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kvx-bench.XXXXXX")
trap 'rm -rf "${scratch}"' EXIT
export XDG_CONFIG_HOME="${scratch}/config" XDG_DATA_HOME="${scratch}/data"
failed=()
for program in "${programs[@]}"; do
  echo "== ${program##*/}"
  status=0
  # shellcheck disable=SC2086
  timeout --kill-after=10 "${BENCH_TIMEOUT:-600}" "${program}" ${BENCH_ARGS:-} </dev/null || status=$?
  if [ "${status}" -eq 124 ] || [ "${status}" -eq 137 ]; then
    echo "== ${program##*/}: stopped after ${BENCH_TIMEOUT:-600} s" >&2
    failed+=("${program##*/} (time)")
  elif [ "${status}" -ne 0 ]; then
    failed+=("${program##*/} (exit ${status})")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Benchmarks that did not finish: ${failed[*]}" >&2
  exit 1
fi
