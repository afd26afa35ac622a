#!/usr/bin/env bash
# Writes fixtures/sun_planet_swe.tsv from the Swiss Ephemeris (libswe-dev,
# analytic mode). Needs the library only here; the tests read the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_sun_planet_swe.c -lswe -lm
"$work/reference" > fixtures/sun_planet_swe.tsv
echo "wrote fixtures/sun_planet_swe.tsv ($(grep -vc '^#' fixtures/sun_planet_swe.tsv) lines)"
