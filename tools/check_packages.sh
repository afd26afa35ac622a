#!/usr/bin/env bash
# Checks that tools/packages.sh brings in every Debian package the build and
# the tests use, so that the README's commands work on a fresh machine.
#
#   tools/check_packages.sh [--lists "pkg pkg ..."] BUILD_DIR [BUILD_DIR ...]
#
# What counts as used, for each build folder:
#   - every system header the compiler read (the build's dependency log,
#     `ninja -t deps`);
#   - every shared library the built programs, libraries and test programs
#     load (`ldd`);
#   - every program CMake found (the FILEPATH entries of CMakeCache.txt:
#     compilers, ninja, ccache, libraries found by find_library);
#   - the external programs and Python modules the tests call: a test that
#     needs a program checks for it with HaveCommand("program ..."), and the
#     modules are the `import` lines inside the tests' embedded scripts.
# Each file is mapped to its package with `dpkg -S`. A package counts as
# brought in when it is listed or among the recursive Depends of a listed
# package. Without --lists the lists are KVX_BUILD_PACKAGES and
# KVX_TEST_PACKAGES of tools/packages.sh.
#
# Prints one line per missing package with one file that needs it, and one
# line per file no package owns; exits 1 when there is any, or when dpkg or
# apt-cache cannot answer. Prints nothing and exits 0 when all is well.
set -uo pipefail
cd "$(dirname "$0")/.."

lists=""
have_lists=0
if [ "${1:-}" = "--lists" ]; then
  lists="$2"
  have_lists=1
  shift 2
fi
if [ $# -eq 0 ]; then
  echo "usage: tools/check_packages.sh [--lists \"pkg ...\"] BUILD_DIR [BUILD_DIR ...]" >&2
  exit 2
fi
if [ "$have_lists" = 0 ]; then
  # shellcheck source=tools/packages.sh
  source tools/packages.sh
  lists="${KVX_BUILD_PACKAGES[*]} ${KVX_TEST_PACKAGES[*]}"
fi

for tool in dpkg-query dpkg apt-cache ldd; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "package check: '$tool' is not available; cannot tell which packages the build uses"
    exit 1
  fi
done

# --- what the lists bring in -------------------------------------------------
depends() {
  # shellcheck disable=SC2086
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $lists 2>/dev/null |
    sed -n 's/^ *|\{0,1\}\(Pre\)\{0,1\}Depends: <\{0,1\}\([^>: ]*\).*/\2/p; s/^\([a-z0-9][^ :<>]*\).*/\1/p' | sort -u
}
reached=$(depends)
first_listed=${lists%% *}
if ! grep -qx "$first_listed" <<<"$reached" && [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq >/dev/null 2>&1
  reached=$(depends)
fi
for package in $lists; do
  if ! grep -qx "$package" <<<"$reached"; then
    echo "package check: apt-cache does not know the listed package '$package' (run apt-get update?)"
    exit 1
  fi
done

# --- the files the build and the tests use -----------------------------------
used=$(mktemp)
trap '[ -n "${KVX_KEEP:-}" ] || rm -f "$used" "$used".*' EXIT

for build in "$@"; do
  if [ ! -f "$build/build.ninja" ]; then
    echo "package check: '$build' is not a built Ninja folder"
    exit 1
  fi
  # Headers outside the project.
  ninja -C "$build" -t deps 2>/dev/null | sed -n 's/^ *\(\/usr\/[^ ]*\)$/\1/p' >>"$used"
  # The compilers and build tools, the programs the build found for itself,
  # and the libraries on the link lines.
  sed -n 's/^\(CMAKE_C_COMPILER\|CMAKE_CXX_COMPILER\|CMAKE_MAKE_PROGRAM\|KVX_[A-Za-z0-9_]*\):FILEPATH=\(\/[^ ]*\)$/\2/p' \
    "$build/CMakeCache.txt" 2>/dev/null | while IFS= read -r file; do [ -e "$file" ] && realpath "$file"; done >>"$used"
  grep -o '/usr/[^ ]*\.\(so\|a\)\(\.[0-9.]*\)\{0,1\}\b' "$build/build.ninja" 2>/dev/null | sort -u |
    while IFS= read -r file; do [ -e "$file" ] && echo "$file"; done >>"$used"
  # Shared libraries of everything built.
  find "$build" -type f \( -perm -u+x -o -name '*.so' -o -name '*.so.*' \) -not -path '*/CMakeFiles/*' 2>/dev/null |
    while IFS= read -r file; do
      [ "$(head -c 4 "$file" 2>/dev/null | od -An -c | tr -d ' \n')" = '177ELF' ] || continue
      ldd "$file" 2>/dev/null | awk -v f="$file" '/=> not found/ { print "NOTFOUND " f; next } $2 == "=>" && $3 ~ /^\// { print $3 }'
    done >>"$used.libs"
  grep -v '^NOTFOUND ' "$used.libs" 2>/dev/null | grep -v "^$(realpath "$build")" >>"$used"
  if grep -q '^NOTFOUND ' "$used.libs" 2>/dev/null; then
    grep '^NOTFOUND ' "$used.libs" | sort -u | head -n 5 | sed 's/^NOTFOUND \(.*\)/package check: a library of \1 is not found (ldd)/'
    exit 1
  fi
  rm -f "$used.libs"
done

# Programs and Python modules the tests call.
test_sources=$(git ls-files 'tests/*.cpp' 'tests/**/*.cpp' 2>/dev/null | sort -u)
if [ -n "$test_sources" ]; then
  # shellcheck disable=SC2086
  programs=$(grep -ho 'HaveCommand("[^" ]*' $test_sources | sed 's/HaveCommand("//' | sort -u)
  # shellcheck disable=SC2086
  modules=$(grep -ho 'import [A-Za-z0-9_, .]*' $test_sources | sed 's/^import //; s/[ ,]\+/\n/g' |
    sed 's/\..*//' | grep -v '^$' | sort -u)
  for program in $programs; do
    path=$(command -v "$program" 2>/dev/null)
    if [ -z "$path" ]; then
      echo "package check: the tests call '$program', which is not installed here, so its package is unknown"
      exit 1
    fi
    realpath "$path" >>"$used"
  done
  # The tests run the system's Python, never one of the user's own.
  if [ -n "$modules" ]; then
    for module in $modules; do
      file=$(/usr/bin/python3 -c "import $module as m; print(getattr(m, '__file__', '') or '')" 2>/dev/null)
      if [ $? -ne 0 ]; then
        echo "package check: the tests import the Python module '$module', which is not installed here"
        exit 1
      fi
      [ -n "$file" ] && realpath "$file" >>"$used"
    done
  fi
fi

# --- map each file to its package --------------------------------------------
sort -u "$used" -o "$used"
[ -s "$used" ] || exit 0

# dpkg knows a file by the path its package ships; with the merged /usr a
# library that ldd shows under /usr/lib may be shipped under /lib, and a path
# may lead through a link. A file dpkg does not know as given is tried in
# those forms.
owners() {
  xargs -a "$1" -d '\n' dpkg -S 2>/dev/null | grep -v '^diversion by ' | sed 's/^\(.*\): \(\/.*\)$/\2|\1/'
}
owners "$used" >"$used.owned"
cut -d'|' -f1 "$used.owned" | sort -u | comm -23 "$used" - >"$used.unowned"
while IFS= read -r file; do
  for other in "$(realpath "$file" 2>/dev/null)" "${file#/usr}" "/usr$file"; do
    [ -n "$other" ] && [ "$other" != "$file" ] && echo "$file|$other"
  done
done <"$used.unowned" >"$used.forms"
cut -d'|' -f2 "$used.forms" | sort -u >"$used.others"
owners "$used.others" >"$used.others.owned"
awk -F'|' 'NR == FNR { owner[$1] = $2; next }
  FILENAME == ARGV[2] { if (!($1 in found) && ($2 in owner)) found[$1] = owner[$2]; next }
  { print $1 "|" ($1 in found ? found[$1] : "") }' \
  "$used.others.owned" "$used.forms" "$used.unowned" >>"$used.owned"

# One line per missing package (with the first file that needs it) and one
# per file no package owns.
report=$(awk -F'|' -v reached="$reached" '
  BEGIN { n = split(reached, names, "\n"); for (i = 1; i <= n; ++i) have[names[i]] = 1 }
  $2 == "" { print "no package owns " $1; next }
  {
    count = split($2, candidates, ",")
    first = ""
    for (i = 1; i <= count; ++i) {
      name = candidates[i]; gsub(/ /, "", name); sub(/:.*/, "", name)
      if (first == "") first = name
      if (name in have) next
    }
    if (!(first in missing)) { missing[first] = $1; order[++m] = first }
  }
  END { for (i = 1; i <= m; ++i) print "missing package: " order[i] " (needed for " missing[order[i]] ")" }
' "$used.owned" | sort)
if [ -n "$report" ]; then
  echo "$report"
  echo "Add the missing packages to tools/packages.sh."
  exit 1
fi
exit 0
