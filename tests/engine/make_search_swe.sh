#!/usr/bin/env bash
# Writes fixtures/search_swe.tsv from the Swiss Ephemeris (libswe-dev,
# analytic mode). Needs the library only here; the tests read the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_search_swe.c -lswe -lm
"$work/reference" > fixtures/search_swe.tsv
echo "wrote fixtures/search_swe.tsv ($(grep -vc '^name' fixtures/search_swe.tsv) events)"
