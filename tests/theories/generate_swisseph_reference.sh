#!/usr/bin/env bash
# Writes fixtures/swisseph_reference.tsv from the Swiss Ephemeris (libswe-dev,
# Moshier mode). Needs the library only here; the tests read the fixture.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/reference" swisseph_reference.c -lswe -lm
"$work/reference" > fixtures/swisseph_reference.tsv
echo "wrote fixtures/swisseph_reference.tsv ($(wc -l < fixtures/swisseph_reference.tsv) lines)"
