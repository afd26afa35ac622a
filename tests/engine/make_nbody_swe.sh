#!/usr/bin/env bash
# Writes fixtures/nbody_swe.tsv from the Swiss Ephemeris (libswe-dev with
# swe-basic-data). Needs the library only here; the tests read the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_nbody_swe.c -lswe -lm
"$work/reference" > fixtures/nbody_swe.tsv
echo "wrote fixtures/nbody_swe.tsv ($(grep -vc '^#' fixtures/nbody_swe.tsv) lines)"
