#!/usr/bin/env bash
# Writes fixtures/state_vectors_swe.tsv from the Swiss Ephemeris (libswe-dev,
# analytic mode). Needs the library only here; the tests read the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_state_vectors_swe.c -lswe -lm
"$work/reference" > fixtures/state_vectors_swe.tsv
echo "wrote fixtures/state_vectors_swe.tsv ($(grep -vc '^#' fixtures/state_vectors_swe.tsv) lines)"
