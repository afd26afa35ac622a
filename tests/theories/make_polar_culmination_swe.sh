#!/usr/bin/env bash
# Writes fixtures/polar_culmination_swe.tsv from the Swiss Ephemeris
# (libswe-dev, analytic mode). Needs the library only here; the test reads
# the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_polar_culmination_swe.c -lswe -lm
"$work/reference" > fixtures/polar_culmination_swe.tsv
echo "wrote fixtures/polar_culmination_swe.tsv"
