#!/usr/bin/env bash
# Compares the window pictures of two test runs (the test-output folders of
# two builds, or copies of them), byte for byte: lists each PNG that differs
# or is in one folder only, and exits 1 when there is any. For checking that
# a change of the code leaves every window as it was.
#
#   tools/compare_pictures.sh <folderA> <folderB>
set -uo pipefail

if [ $# -ne 2 ] || [ ! -d "$1" ] || [ ! -d "$2" ]; then
  echo "usage: $0 <folderA> <folderB>  (two folders of *.png)" >&2
  exit 2
fi

a=$1
b=$2
differ=0
same=0
while IFS= read -r name; do
  if [ ! -f "$a/$name" ]; then
    echo "only in $b: $name"
    differ=$((differ + 1))
  elif [ ! -f "$b/$name" ]; then
    echo "only in $a: $name"
    differ=$((differ + 1))
  elif cmp -s "$a/$name" "$b/$name"; then
    same=$((same + 1))
  else
    echo "differs: $name"
    differ=$((differ + 1))
  fi
done < <( (
  cd "$a" && ls -1 -- *.png 2>/dev/null
  cd "$OLDPWD" && cd "$b" && ls -1 -- *.png 2>/dev/null
) | LC_ALL=C sort -u)

echo "$same same, $differ differing"
[ "$differ" -eq 0 ]
