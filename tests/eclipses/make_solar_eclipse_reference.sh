#!/bin/sh
# Regenerates fixtures/solar_eclipse_reference.txt (needs libswe-dev and swe-basic-data).
set -e
here=$(dirname "$0")
cc -O2 -o /tmp/make_solar_eclipse_reference "$here/make_solar_eclipse_reference.c" -lswe -lm
/tmp/make_solar_eclipse_reference > "$here/fixtures/solar_eclipse_reference.txt"
