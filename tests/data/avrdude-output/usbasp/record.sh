#!/usr/bin/env bash
# Records what avrdude prints against the virtual USBasp, case by case, as
# <case>-<version>.out, with the folder written as /home/user/avr.
#   record.sh <build folder> <version> <avrdude to run> [output folder]
# e.g. record.sh build 7.1 /usr/bin/avrdude
#      record.sh build 8.1-standin build/tests/standin/fw_avrdude81_standin
set -uo pipefail
build=$(cd "$1" && pwd); version=$2; tool=$3
out=$(cd "${4:-$(dirname "$0")}" && pwd)
work=$(mktemp -d); trap 'kill $sim 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/tools"; cd "$work"
ln -s "$build/sim-tools/avrdude" tools/avrdude; ln -s /etc/avrdude.conf tools/avrdude.conf
printf '\xe4' >lfuse; printf '\xd9' >hfuse; printf '\xff' >lock
python3 - <<'PY'
import random
def hexfile(name, data):
    with open(name, 'w') as f:
        for a in range(0, len(data), 16):
            chunk = data[a:a+16]
            rec = [len(chunk), a >> 8, a & 255, 0] + list(chunk)
            f.write(':' + ''.join('%02X' % b for b in rec) + '%02X\n' % (-sum(rec) & 255))
        f.write(':00000001FF\n')
random.seed(5)
hexfile('f1.hex', bytes(random.randrange(256) for _ in range(3000)))
hexfile('f2.hex', bytes(random.randrange(256) for _ in range(3000)))
hexfile('ee.hex', bytes(random.randrange(256) for _ in range(512)))
PY
sim=
start() { # chip, --usbasp mode
    kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf chip tools/sim-socket
    "$build/fusewright-sim" --chip "$1" --state chip --port-file tools/sim-port --socket tools/sim-socket --usbasp "$2" 2>/dev/null &
    sim=$!
    for _ in $(seq 50); do [ -S tools/sim-socket ] && break; sleep 0.1; done
}
v=; case $version in 8.*) v=-v;; esac
o=/home/user/avr/tools/out.bin
run() { # case, part, arguments...
    local name=$1 part=$2; shift 2
    FUSEWRIGHT_REAL_AVRDUDE=$tool tools/avrdude -p "$part" -C "$work/tools/avrdude.conf" -c usbasp -P usb "$@" >"$work/run.out" 2>&1
    echo "$name | $version | $? | avrdude -p $part -C <tools>/avrdude.conf -c usbasp -P usb $*" | sed "s#$work#/home/user/avr#g" >>"$out/cases-$version.txt"
    sed "s#$work#/home/user/avr#g" "$work/run.out" >"$out/$name-$version.out"
}
: >"$out/cases-$version.txt"
start m8 normal
run probe-m8 m8 -E reset $v
run probe-m16-on-m8 m16 -E reset $v
run read-hfuse-F m8 -U hfuse:r:$work/tools/out.bin:r -F
run read-lfuse m8 -U lfuse:r:$work/tools/out.bin:r
run read-lock m8 -U lock:r:$work/tools/out.bin:r
run write-fuses m8 -U lfuse:w:$work/lfuse:r -U hfuse:w:$work/hfuse:r -U lock:w:$work/lock:r
run read-calibration m8 -U calibration:r:$work/tools/out.bin:r
run write-eeprom m8 -U eeprom:w:$work/ee.hex:i
run read-eeprom m8 -U eeprom:r:$work/tools/out.bin:r
run write-flash-i m8 -U flash:w:$work/f1.hex:i
run verify-flash-i m8 -U flash:v:$work/f1.hex:i
run write-flash-a m8 -U flash:w:$work/f2.hex:a -U flash:v:$work/f2.hex:a
run read-flash-raw m8 -U flash:r:$work/tools/out.bin:r
start m16 normal;        run probe-m16 m16 -E reset $v
start none normal;       run probe-none m8 -E reset $v
                         run read-hfuse-F-none m8 -U hfuse:r:$work/tools/out.bin:r -F
start m8 old-firmware;   run old-firmware m8 -E reset $v
start m8 old-ids;        run old-ids m8 -E reset $v
start m8 no-access;      run noaccess m8 -E reset $v
start m8 absent;         run absent m8 -E reset $v
kill $sim; wait $sim 2>/dev/null; sim=; rm -f tools/sim-port
# Unplugged: no simulator at all; the wrapper needs a port file to run.
echo /dev/null >tools/sim-port
run unplugged m8 -E reset $v
