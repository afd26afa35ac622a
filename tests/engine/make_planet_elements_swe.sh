#!/usr/bin/env bash
# Writes fixtures/planet_elements_swe.tsv from the Swiss Ephemeris (libswe-dev).
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" make_planet_elements_swe.c -lswe -lm
"$work/reference" > fixtures/planet_elements_swe.tsv
echo "wrote fixtures/planet_elements_swe.tsv ($(grep -vc '^#' fixtures/planet_elements_swe.tsv) lines)"
