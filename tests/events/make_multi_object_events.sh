#!/bin/sh
# Regenerates fixtures/multi_object_elements.csv and
# fixtures/multi_object_events.tsv (needs libswe-dev, swe-basic-data and
# python3-ephem).
set -e
here=$(cd "$(dirname "$0")" && pwd)
cc -O2 -o /tmp/make_multi_object_events_swe "$here/make_multi_object_events_swe.c" -lswe -lm
/tmp/make_multi_object_events_swe | /usr/bin/python3 "$here/make_multi_object_events.py"
