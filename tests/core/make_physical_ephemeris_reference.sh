#!/usr/bin/env bash
# Regenerates fixtures/planet_physical_swe.tsv and fixtures/moon_physical_swe.tsv
# from the Swiss Ephemeris (Debian package libswe-dev). Only needed to refresh
# the committed fixtures.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
gcc -O2 -o "$tmp/make_ref" make_physical_ephemeris_reference.c -lswe -lm
"$tmp/make_ref"
