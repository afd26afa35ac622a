#!/usr/bin/env bash
# Writes fixtures/ceres_vesta_swe.csv from the Swiss Ephemeris (libswe-dev,
# swe-basic-data). Needs the library only here; the tests read the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_ceres_vesta_swe.c -lswe -lm
"$work/reference" > fixtures/ceres_vesta_swe.csv
echo "wrote fixtures/ceres_vesta_swe.csv"
