#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer; build-fuzz/) and runs each of them.
#
#   ./fuzz.sh [seconds] [name...]   run each target (all, or the named ones:
#                                   "tle" for tests/fuzz/fuzz_tle.cpp) for at
#                                   most `seconds` (default 600) and at most
#                                   KVX_FUZZ_RUNS executions (default 1000000)
#   ./fuzz.sh --brief               each target on every one of its seeds, then
#                                   a fixed number of mutations from a fixed
#                                   random seed (what ./test.sh runs): the
#                                   same tree gives the same run, so the step
#                                   fails only where the code changed
#
# KVX_FUZZ_JOBS targets run at once (default 1). The corpus grows in
# build-fuzz/corpus/<name>/, logs land in build-fuzz/logs/ (brief runs:
# build-fuzz/brief-logs/), and an input that
# breaks a target is kept as build-fuzz/findings/<name>/crash-... (or
# timeout-..., leak-..., oom-...); run the target on that file to repeat it.
# Once the fault is mended, the input joins the target's seeds under a name
# that says what it broke (tests/fuzz/seeds/<name>/), so that every brief
# run tries it again.
#
# The brief mutations: a fixed number of executions per target (the table
# below; KVX_FUZZ_BRIEF_RUNS sets one number for all) from the random seed
# KVX_FUZZ_SEED (default 1). Another seed explores elsewhere, the same seed
# repeats a run input for input.
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
brief_seed=${KVX_FUZZ_SEED:-1}
# Executions of the brief mutations: about three seconds of a target on one
# core; the slower targets get fewer (the .xls reader starts a process per
# input).
declare -A brief_runs_of=([catalogue_writers]=500 [config_file]=500 [editor_store]=1000 [element_fields]=1000
  [element_files]=700 [observations]=2500 [position_files]=2000 [text_file]=2000 [user_catalogue]=2000
  [workbook_text]=500 [xls]=30 [xlsx]=1000)
brief_runs_default=4000

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
    # Every seed once, each file as a run of its own: the inputs that once
    # broke the target among them.
    local files=()
    mapfile -d '' files < <(find "$seeds" -type f -print0 | LC_ALL=C sort -z)
    if [ ${#files[@]} -eq 0 ]; then
      echo "fuzz_$name has no seeds in $seeds" >"$log"
      return 1
    fi
    build-fuzz/bin/fuzz_"$name" -timeout=20 -rss_limit_mb=2048 -artifact_prefix="$findings" "${files[@]}" >"$log" 2>&1 || return 1
    # Then the mutations: from the seeds in the order of their names (not
    # shuffled), a fixed random seed and number of runs. What they find
    # goes to a scratch corpus that is thrown away. The list of seeds is
    # comma-separated: a name with a comma could not be told apart.
    local scratch=build-fuzz/brief-corpus/$name
    rm -rf "$scratch"
    mkdir -p "$scratch"
    local list=$scratch.seeds
    if printf '%s\n' "${files[@]}" | grep -q ','; then
      echo "a seed of fuzz_$name has a comma in its name" >>"$log"
      return 1
    fi
    (IFS=,; printf '%s' "${files[*]}") >"$list"
    local count=${KVX_FUZZ_BRIEF_RUNS:-${brief_runs_of[$name]:-$brief_runs_default}}
    "${fixed_addresses[@]}" build-fuzz/bin/fuzz_"$name" -seed="$brief_seed" -runs="$count" -shuffle=0 \
      -seed_inputs=@"$list" -reload=0 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings" "$scratch" >>"$log" 2>&1
  else
    local corpus=build-fuzz/corpus/$name
    mkdir -p "$corpus"
    build-fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -runs="$runs" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings" "$corpus" "$seeds" >"$log" 2>&1
  fi
}

# The brief mutations run at the same addresses every time: the fuzzer
# learns from the values a target compares, and some of them are addresses.
fixed_addresses=()
if setarch "$(uname -m)" -R true 2>/dev/null; then
  fixed_addresses=(setarch "$(uname -m)" -R)
fi

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
