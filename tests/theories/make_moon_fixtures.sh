#!/usr/bin/env bash
# Regenerates fixtures/galilean_moons_astronomia.tsv and
# fixtures/saturn_moons_astronomia.tsv from the npm package astronomia,
# installed into a temporary folder. Only needed to refresh the committed
# fixtures.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && npm init -y > /dev/null && npm install --silent astronomia@4.2.0 > /dev/null)
cp make_moon_fixtures.mjs "$tmp/"
node "$tmp/make_moon_fixtures.mjs" "$PWD/fixtures"
