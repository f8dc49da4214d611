#!/usr/bin/env bash
# Records avrdude 7.1 against the virtual USBasp again and compares every
# case, exit code included, with the stored recordings (timings masked).
#   usbasp_recordings_check.sh <build folder> <recordings folder>
set -uo pipefail
stored=$2
fresh=$(mktemp -d); trap 'rm -rf "$fresh"' EXIT
"$stored/record.sh" "$1" 7.1 /usr/bin/avrdude "$fresh" || exit 1
mask() { sed -E 's/[0-9]+\.[0-9]+s$/0.00s/' "$1"; }
status=0
for f in "$stored"/*-7.1.out "$stored/cases-7.1.txt"; do
    name=$(basename "$f")
    if ! diff -u <(mask "$f") <(mask "$fresh/$name"); then
        echo "differs: $name"; status=1
    fi
done
exit $status
