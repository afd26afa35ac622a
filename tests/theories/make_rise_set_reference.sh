#!/usr/bin/env bash
# Regenerates fixtures/rise_set_swe.tsv from the Swiss Ephemeris (Debian
# package libswe-dev). Only needed to refresh the committed fixture.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
gcc -O2 -o "$tmp/make_ref" make_rise_set_reference.c -lswe -lm
"$tmp/make_ref" > fixtures/rise_set_swe.tsv
