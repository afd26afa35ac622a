#!/bin/sh
# Regenerates fixtures/transit_reference.txt (needs libswe-dev and swe-basic-data).
set -e
here=$(dirname "$0")
cc -O2 -o /tmp/make_transit_reference "$here/make_transit_reference.c" -lswe -lm
/tmp/make_transit_reference > "$here/fixtures/transit_reference.txt"
