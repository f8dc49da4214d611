#!/usr/bin/env bash
# Records a programmer's cases again with the recordings folder's own
# record.sh and compares every case, exit code included, with the stored
# 7.1 recordings (timings masked).
#   recordings_check.sh <recordings folder> <record.sh arguments before the output folder...>
set -uo pipefail
stored=$1; shift
fresh=$(mktemp -d); trap 'rm -rf "$fresh"' EXIT
"$stored/record.sh" "$@" "$fresh" || exit 1
mask() { sed -E 's/[0-9]+\.[0-9]+s$/0.00s/' "$1"; }
status=0
for f in "$stored"/*-7.1.out "$stored/cases-7.1.txt"; do
    name=$(basename "$f")
    if ! diff -u <(mask "$f") <(mask "$fresh/$name"); then
        echo "differs: $name"; status=1
    fi
done
exit $status
