#!/usr/bin/env bash
# Builds the API reference into a scratch folder with scripts/docs.sh, which fails
# on any warning, and checks that the named pages were written: a reference that
# lost its input would build without warnings too.
#   check_reference.sh SOURCE_ROOT OUTPUT PAGE...
# Exits 77 (skipped) when doxygen is not installed.
set -uo pipefail
root=$1
out=$2
shift 2

rm -rf "$out"
bash "$root/scripts/docs.sh" "$out"
status=$?
[ "$status" -eq 0 ] || exit "$status"

missing=0
for page in "$@"; do
  if [ ! -s "$out/html/$page" ]; then
    echo "check_reference.sh: the reference has no page $page" >&2
    missing=1
  fi
done
exit "$missing"
