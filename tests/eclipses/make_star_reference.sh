#!/bin/sh
# Regenerates fixtures/star_reference.txt (needs libswe-dev and swe-basic-data).
set -e
here=$(dirname "$0")
cc -O2 -o /tmp/make_star_reference "$here/make_star_reference.c" -lswe -lm
/tmp/make_star_reference > "$here/fixtures/star_reference.txt"
