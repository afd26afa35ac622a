#!/usr/bin/env bash
# Writes fixtures/library_tables_swe.tsv from the Swiss Ephemeris (libswe-dev,
# analytic mode). Needs the library only here; the tests read the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_library_tables_swe.c -lswe -lm
"$work/reference" > fixtures/library_tables_swe.tsv
echo "wrote fixtures/library_tables_swe.tsv ($(grep -vc '^name' fixtures/library_tables_swe.tsv) rows)"
