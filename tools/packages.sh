# Debian 12 packages the build and the tests need; sourced by run.sh and test.sh.
# qt6-translations-l10n gives Qt's own dialogs and buttons their German texts.
KVX_BUILD_PACKAGES=(cmake ninja-build g++ ccache qt6-base-dev qt6-translations-l10n pkg-config libixion-dev liborcus-dev libxlsxwriter-dev libminizip-dev libfreexl-dev libboost-dev zlib1g-dev libhowardhinnant-date-dev tzdata)
# Used only at development time to regenerate committed data files and
# fixtures (tools/make_star_catalogues.py, tests/eclipses/make_star_reference.sh,
# tests/eclipses/make_lunar_occultation_reference.py (python3-erfa, and libswe-dev through ctypes),
# tools/make_builtin_comets.py, tests/catalogues/make_mpc_crosscheck.py,
# tests/eclipses/make_solar_eclipse_reference.sh and .js, the search scripts
# tests/engine/make_search_*.js, tests/events/make_moon_phenomena_reference.js and the yardstick
# bench/events_astronomy_engine_timing.js (nodejs with the npm package
# astronomy-engine), tools/make_world_cities.py, proj-bin's cs2cs for
# tests/tables/make_gauss_krueger_reference.py, tests/app/make_movable_feasts.py,
# gnumeric's ssconvert for tests/app/fixtures/workbooks/make_workbooks.py);
# neither the build, the program nor the tests need them.
KVX_DATA_TOOL_PACKAGES=(stellarium-data python3-dateutil python3-erfa python3-numpy swe-basic-data libgeonames0 kstars-data python3-skyfield python3-pandas nodejs proj-bin gnumeric)
# clang and libclang-rt-dev (libFuzzer and the sanitizer run-times) build the fuzz targets;
# clang-format checks the format of the program code (tools/check_format.sh);
# valgrind counts the instructions of bench/write_cost.sh (its callgrind.h lets
# bench_write_cost count only each case itself);
# locales gives the locale sources from which the tests make the German and
# French locales they run under once more (tests/CMakeLists.txt, localedef).
KVX_TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev libreoffice-calc-nogui poppler-utils python3-openpyxl python3-astropy libswe-dev python3-ephem python3-skyfield python3-sgp4 libgsl-dev clang libclang-rt-dev clang-format locales valgrind)

# Installs the missing packages of the given list with apt-get when running
# as root; otherwise prints the command to run and fails. With
# KVX_NO_RECOMMENDS=1 recommended packages are left out (the test tools:
# LibreOffice's recommendations are large and not needed headless).
kvx_install_missing() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  apt-get update -qq
  local options=()
  [ "${KVX_NO_RECOMMENDS:-0}" = 1 ] && options+=(--no-install-recommends)
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${options[@]}" "${missing[@]}"
}
