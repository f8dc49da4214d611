#!/usr/bin/env bash
# Records the program's own avrdude (and the same build without its patch)
# against the virtual pony-stk200 again and compares every case, exit code
# included, with the stored recordings (timings masked).
#   pony_recordings_check.sh <build folder> <avrdude> <avrdude without the patch> <recordings folder>
set -uo pipefail
stored=$4
fresh=$(mktemp -d); trap 'rm -rf "$fresh"' EXIT
"$stored/record.sh" "$1" "$2" "$3" "$fresh" || exit 1
mask() { sed -E 's/[0-9]+\.[0-9]+s$/0.00s/' "$1"; }
status=0
for f in "$stored"/*-7.1.out "$stored/cases-7.1.txt"; do
    name=$(basename "$f")
    if ! diff -u <(mask "$f") <(mask "$fresh/$name"); then
        echo "differs: $name"; status=1
    fi
done
exit $status
