#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer; build-fuzz/) and runs each of them.
#
#   ./fuzz.sh [seconds] [name...]   run each target (all, or the named ones:
#                                   "tle" for tests/fuzz/fuzz_tle.cpp) for at
#                                   most `seconds` (default 600) and at most
#                                   KVX_FUZZ_RUNS executions (default 1000000)
#   ./fuzz.sh --brief               each target on its seeds and a few seconds
#                                   more (what ./test.sh runs)
#
# KVX_FUZZ_JOBS targets run at once (default 1). The corpus grows in
# build-fuzz/corpus/<name>/, logs land in build-fuzz/logs/ (brief runs:
# build-fuzz/brief-logs/), and an input that
# breaks a target is kept as build-fuzz/findings/<name>/crash-... (or
# timeout-..., leak-..., oom-...); run the target on that file to repeat it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
kvx_install_missing "${KVX_BUILD_PACKAGES[@]}"
KVX_NO_RECOMMENDS=1 kvx_install_missing "${KVX_TEST_PACKAGES[@]}"

brief=0
seconds=600
if [ "${1:-}" = "--brief" ]; then
  brief=1
  shift
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
runs=${KVX_FUZZ_RUNS:-1000000}
jobs=${KVX_FUZZ_JOBS:-1}

cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz
# The clang build too may use only packages of tools/packages.sh.
tools/check_packages.sh build-fuzz

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    names+=("${name#fuzz_}")
  done
fi

# The targets write their scratch files into TMPDIR: memory is much faster.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

# Sanitizer settings of the runs: stop at the first error, report leaks.
# The suppressions' path is quoted: the sanitizers split their options at
# blanks, commas and colons, which the checkout's path may hold.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-"suppressions=\"$PWD/tests/sanitizer-suppressions.txt\":print_suppressions=0"}

run_target() {
  local name=$1
  local seeds=tests/fuzz/seeds/$name
  local findings=build-fuzz/findings/$name/
  local log=$logs/$name.log
  mkdir -p "$seeds" "$findings" "$logs"
  if [ $brief = 1 ]; then
    # The seeds once each, then a few seconds of mutations; what they find
    # goes to a scratch corpus that is thrown away.
    local scratch=build-fuzz/brief-corpus/$name
    rm -rf "$scratch"
    mkdir -p "$scratch"
    build-fuzz/bin/fuzz_"$name" -max_total_time=3 -timeout=20 -rss_limit_mb=2048 \
      -artifact_prefix="$findings" "$scratch" "$seeds" >"$log" 2>&1
  else
    local corpus=build-fuzz/corpus/$name
    mkdir -p "$corpus"
    build-fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -runs="$runs" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings" "$corpus" "$seeds" >"$log" 2>&1
  fi
}

# The brief runs keep their logs apart, so that they never mix with a long run's.
logs=build-fuzz/logs
[ $brief = 1 ] && logs=build-fuzz/brief-logs

failed=0
pids=()
for name in "${names[@]}"; do
  if [ ! -f "tests/fuzz/fuzz_$name.cpp" ]; then
    echo "no fuzz target $name" >&2
    exit 2
  fi
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 1; done
  run_target "$name" &
  pids+=("$!:$name")
done

for entry in "${pids[@]}"; do
  pid=${entry%%:*}
  name=${entry#*:}
  log=$logs/$name.log
  if wait "$pid"; then
    result=ok
  else
    result=FAILED
    failed=1
  fi
  # "Done 1000000 runs in 73 second(s)" closes a run that was not stopped.
  summary=$(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -1 || true)
  echo "fuzz_$name: $result ${summary:-(see $log)}"
  if [ $result = FAILED ]; then
    tail -n 40 "$log" >&2
  fi
done
exit $failed
