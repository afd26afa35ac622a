#!/usr/bin/env bash
# The instructions of each case of bench_write_cost (write_cost_bench.cpp),
# counted by callgrind from the case's start to its end, in millions.
#   bench/write_cost.sh [build folder]      (default build-release)
set -euo pipefail
build=${1:-build-release}
program="${build}/bin/bench_write_cost"
out=$(mktemp -d "${TMPDIR:-/tmp}/kvx-write-cost.XXXXXX")
trap 'rm -rf "${out}"' EXIT
for case in 'BM_SaveAsText' 'BM_AstorbConversion/1' 'BM_AstorbConversion/2' 'BM_MpcorbConversion'; do
  # Once outside callgrind, so that the input files exist.
  "${program}" --benchmark_filter="^${case}/" >/dev/null 2>&1
  valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="${out}/counts" \
    "${program}" --benchmark_filter="^${case}/" >/dev/null 2>&1
  instructions=$(sed -n 's/^summary: //p' "${out}/counts")
  printf '%-24s %8d M\n' "${case}" $((instructions / 1000000))
done
