#!/bin/sh
# Regenerates fixtures/user_conjunctions_swe.tsv (needs libswe-dev and
# swe-basic-data).
set -e
here=$(cd "$(dirname "$0")" && pwd)
cc -O2 -o /tmp/make_user_conjunctions_swe "$here/make_user_conjunctions_swe.c" -lswe -lm
cd "$here/fixtures" && /tmp/make_user_conjunctions_swe
