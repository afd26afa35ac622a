#!/usr/bin/env bash
# Writes fixtures/moon_swe.tsv from the Swiss Ephemeris (libswe-dev and
# its Moon file). Needs the library only here; the tests read the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_moon_swe.c -lswe -lm
"$work/reference" > fixtures/moon_swe.tsv
echo "wrote fixtures/moon_swe.tsv ($(grep -vc '^#' fixtures/moon_swe.tsv) lines)"
