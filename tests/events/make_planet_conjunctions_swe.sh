#!/usr/bin/env bash
# Writes fixtures/planet_conjunctions_swe.tsv from the Swiss Ephemeris
# (libswe-dev, analytic mode). Needs the library only here; the test reads
# the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_planet_conjunctions_swe.c -lswe -lm
"$work/reference" > fixtures/planet_conjunctions_swe.tsv
echo "wrote fixtures/planet_conjunctions_swe.tsv"
