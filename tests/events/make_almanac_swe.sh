#!/usr/bin/env bash
# Writes fixtures/almanac_moon_jupiter_swe.tsv from the Swiss Ephemeris
# (libswe-dev). Needs the library only here; the test reads the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_almanac_swe.c -lswe -lm
"$work/reference" > fixtures/almanac_moon_jupiter_swe.tsv
echo "wrote fixtures/almanac_moon_jupiter_swe.tsv"
