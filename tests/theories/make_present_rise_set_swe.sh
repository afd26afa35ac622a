#!/usr/bin/env bash
# Regenerates fixtures/rise_set_2026_swe.tsv from the Swiss Ephemeris (Debian
# package libswe-dev). Only needed to refresh the committed fixture.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
gcc -O2 -o "$tmp/make_ref" make_present_rise_set_swe.c -lswe -lm
"$tmp/make_ref" > fixtures/rise_set_2026_swe.tsv
