#!/usr/bin/env bash
# Records what avrdude prints with pony-stk200 on the virtual dongle, case by
# case, as <case>-7.1.out, with the folder written as /home/user/avr.
#   record.sh <build folder> <avrdude> <avrdude without the patches> [output folder]
# e.g. record.sh build build/tools/avrdude ~/.cache/fusewright-linux/avrdude-7.1-*/avrdude-unpatched
set -uo pipefail
build=$(cd "$1" && pwd); tool=$(readlink -f "$2"); unpatched=$(readlink -f "$3")
out=$(cd "${4:-$(dirname "$0")}" && pwd)
work=$(mktemp -d); trap 'kill $sim 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/tools" "$work/unpatched"; cd "$work"
# avrdude names itself after argv[0].
ln -s "$tool" tools/avrdude; ln -s "$unpatched" unpatched/avrdude
cp "$(dirname "$tool")/avrdude.conf" tools/avrdude.conf
python3 - <<'PY'
import random
random.seed(7)
data = bytes(random.randrange(256) for _ in range(3000))
with open('f3000.hex', 'w') as f:
    for a in range(0, len(data), 16):
        rec = [16, a >> 8, a & 255, 0] + list(data[a:a+16])
        rec[0] = len(rec) - 4
        f.write(':' + ''.join('%02X' % b for b in rec) + '%02X\n' % (-sum(rec) & 255))
    f.write(':00000001FF\n')
open('e512.bin', 'wb').write(bytes(random.randrange(256) for _ in range(512)))
PY
export LD_PRELOAD=$build/sim-tools/libfusewright-parport.so FUSEWRIGHT_SIM_SOCKET=$work/sim-socket
sim=
start() { # chip [simulator options]
    kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf chip sim-socket
    LD_PRELOAD= "$build/fusewright-sim" --chip "$@" --state chip --port-file sim-port --socket sim-socket 2>/dev/null &
    sim=$!
    for _ in $(seq 50); do [ -S sim-socket ] && break; sleep 0.1; done
}
run() { # case, avrdude, part, arguments...
    local name=$1 avrdude=$2 part=$3; shift 3
    "$avrdude" -p "$part" -C "$work/tools/avrdude.conf" -c pony-stk200 "$@" >run.out 2>&1
    echo "$name | 7.1 | $? | avrdude -p $part -C <tools>/avrdude.conf -c pony-stk200 $*" | sed "s#$work#/home/user/avr#g" >>"$out/cases-7.1.txt"
    sed "s#$work#/home/user/avr#g" run.out >"$out/$name-7.1.out"
}
p=(-P /dev/parport0)
: >"$out/cases-7.1.txt"
start m8
run probe tools/avrdude m8 "${p[@]}" -E reset
run probe-lpt1 tools/avrdude m8 -P lpt1 -E reset
run probe-m16-on-m8 tools/avrdude m16 "${p[@]}" -E reset
run fuses-read tools/avrdude m8 "${p[@]}" -U hfuse:r:"hfuse.raw":r -U lfuse:r:"lfuse.raw":r -U lock:r:"lock.raw":r
run fuses-read-F tools/avrdude m8 "${p[@]}" -F -U hfuse:r:"hfuse.raw":r -U lfuse:r:"lfuse.raw":r -U lock:r:"lock.raw":r
run calibration tools/avrdude m8 "${p[@]}" -U calibration:r:"cal.raw":r
run fuses-write tools/avrdude m8 "${p[@]}" -U lfuse:w:0xE4:m -U hfuse:w:0xD9:m -U lock:w:0xff:m
printf '\xe1' >chip/lfuse
run state-reread tools/avrdude m8 "${p[@]}" -U lfuse:r:"lfuse2.raw":r
run flash-write tools/avrdude m8 "${p[@]}" -U flash:w:"f3000.hex":i
run flash-read tools/avrdude m8 "${p[@]}" -U flash:r:"flash.raw":r
run eeprom-write tools/avrdude m8 "${p[@]}" -U eeprom:w:"e512.bin":r
run eeprom-read tools/avrdude m8 "${p[@]}" -U eeprom:r:"eeprom.raw":r
run erase tools/avrdude m8 "${p[@]}" -e
run rstdisbl tools/avrdude m8 "${p[@]}" -U hfuse:w:0x59:m
run after-rstdisbl tools/avrdude m8 "${p[@]}" -E reset
start m8
run probe-two-enables unpatched/avrdude m8 "${p[@]}" -E reset
start m16;                 run probe-m16 tools/avrdude m16 "${p[@]}" -E reset
start none;                run probe-none tools/avrdude m8 "${p[@]}" -E reset
start m8 --parport no-access; run probe-no-access tools/avrdude m8 "${p[@]}" -E reset
