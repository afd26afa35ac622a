#!/bin/sh
# Regenerates fixtures/conjunctions_swe.tsv and fixtures/separations_swe.tsv
# (needs libswe-dev and swe-basic-data).
set -e
here=$(cd "$(dirname "$0")" && pwd)
cc -O2 -o /tmp/make_conjunction_swe "$here/make_conjunction_swe.c" -lswe -lm
cd "$here/fixtures" && /tmp/make_conjunction_swe
