#!/usr/bin/env bash
# Regenerates fixtures/delta_t_swe.tsv from the Swiss Ephemeris (Debian
# package libswe-dev). The argument is the last observed year of
# core/delta_t_observed.inc (default 2022); rerun with the new one after
# renewing that table. Only needed to refresh the committed fixture.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
gcc -O2 -o "$tmp/make_ref" make_delta_t_swe.c -lswe -lm
"$tmp/make_ref" "${1:-2022}" > fixtures/delta_t_swe.tsv
