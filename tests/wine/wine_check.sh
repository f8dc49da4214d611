#!/usr/bin/env bash
# The Windows zip under Wine and Xvfb: it unpacks, fusewright.exe shows its
# window and refuses a second start; then the window check runs from the
# unpacked folder, its tools\avrdude.exe reaching the virtual programmer,
# whose pseudo-terminal is COM1 in the Wine prefix. For "usbasp" on "usb"
# the copy's tools\libusb-1.0.dll is replaced by the stand-in DLL, which
# carries avrdude.exe's control transfers to the same simulator over TCP.
# Then the setup program (setup_check.sh).
# Usage: wine_check.sh <build-win folder> <fusewright-sim>
set -euo pipefail
build_win=$1
sim=$2

fail() { echo "FAIL: $*" >&2; exit 1; }
zip=$(ls "$build_win"/fusewright-*-win64.zip 2>/dev/null | head -n 1) || true
[ -n "$zip" ] || fail "no Windows zip (fusewright-*-win64.zip) in $build_win: run bash scripts/windows"
setup=$(realpath -m -- "${zip%.zip}-setup.exe")
check_exe=$build_win/fusewright-wine-check.exe
[ -f "$setup" ] || fail "no Windows setup program $setup: run bash scripts/windows"
[ -f "$check_exe" ] || fail "no window check $check_exe: run bash scripts/windows"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

cache=${FW_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/fusewright-win}
mkdir -p "$cache"
export WINEPREFIX=$cache/wineprefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer, no menu entries for the test programs.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM
# One user of the prefix (and of its COM1) at a time.
exec 8>"$cache/wineprefix.lock"
flock 8

work=$(mktemp -d)
xvfb= sim_pid= first=
installed="$WINEPREFIX/drive_c/Program Files/Fusewright"
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  for p in $first $sim_pid $xvfb; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  chmod -R u+w "$installed" 2>/dev/null || true
  rm -rf "$work" "$WINEPREFIX/drive_c/Fusewright check" "$installed"
}
trap cleanup EXIT

source "$(dirname "$0")/../support/virtual_display.sh"
start_virtual_display "$work" || fail "Xvfb did not start or answer"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating the Wine prefix $WINEPREFIX"
  "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; fail "wineboot failed"; }
  "$wineserver" -w
fi

# A fresh virtual ATmega8 behind an AVR910 programmer, reached as COM1, and
# behind a USBasp, reached over loopback TCP; its memories in $work/<state>.
start_programmer() {
  [ -z "$sim_pid" ] || { kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true; }
  rm -f "$work/port" "$work/tcp-port"
  "$sim" --chip m8 --state "$work/$1" --port-file "$work/port" --tcp-port-file "$work/tcp-port" --log "$work/sim.log" &
  sim_pid=$!
  wait_for 10 test -s "$work/port" -a -s "$work/tcp-port" || fail "the simulator gave no port"
  export FUSEWRIGHT_SIM_SOCKET=127.0.0.1:$(head -n 1 "$work/tcp-port")
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$(head -n 1 "$work/port")" /f >/dev/null
  "$wineserver" -k   # the port table is read when the server starts
  "$wineserver" -w
}
start_programmer chip

unpacked="$WINEPREFIX/drive_c/Fusewright check"
rm -rf "$unpacked"
unzip -q "$zip" -d "$unpacked"
folder=$(ls -d "$unpacked"/fusewright-*)
win_folder="C:\\Fusewright check\\$(basename "$folder")"
for f in fusewright.exe qt.conf platforms/qwindows.dll tools/avrdude.exe tools/avrdude.conf translations/qtbase_zh_CN.qm; do
  [ -f "$folder/$f" ] || fail "the zip has no $f"
done

source "$(dirname "$0")/wine_usb_tools.sh"
check_usb_tools "$folder" "$win_folder" "$build_win/sim-usb/libusb-1.0.dll"

# What was there instead of the awaited window: the program's own text, the
# titles of the visible windows and whether the program (if given) still runs.
shown_instead() {
  cat "$1" >&2
  echo "visible windows:" >&2
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "  '$(xdotool getwindowname "$w")'" >&2
  done
  [ -z "${2:-}" ] || { kill -0 "$2" 2>/dev/null && echo "the program still runs" >&2 || echo "the program ended" >&2; }
  ps -eo pid,etime,args | grep -i '[w]ine\|[.]exe' >&2 || true
}
started=$SECONDS
"$wine" "$win_folder\\fusewright.exe" >"$work/first.log" 2>&1 &
first=$!
# The first Qt window after the server's restart may wait on Wine's own
# start-up (fonts, services) while the machine is busy with other tests.
wait_for 180 visible_window Fusewright || { shown_instead "$work/first.log" $first; fail "no window titled Fusewright"; }
echo "fusewright.exe showed its window after $((SECONDS - started)) s"
"$wine" "$win_folder\\fusewright.exe" >"$work/second.log" 2>&1 &
second=$!
wait_for 60 visible_window 重复运行 || { shown_instead "$work/second.log" $second; fail "the second start showed no 重复运行 box"; }
[ "$(xdotool search --onlyvisible --name '^Fusewright$' | wc -l)" = 1 ] || fail "the second start showed its main window"
xdotool windowfocus --sync "$(visible_window 重复运行)" key Return
wait_for 20 bash -c "! kill -0 $second" || fail "the second start did not end when its box was dismissed"
kill -0 "$first" || fail "the first instance ended"
echo "second start refused with 重复运行; first still running"
kill "$first"
wait "$first" 2>/dev/null || true
first=

# The window check beside the program, with Qt's test library. Its report
# goes to a file: a program without a console has no standard output under Wine.
cp "$check_exe" "$build_win/Qt6Test.dll" "$folder/"
started=$SECONDS
status=0
FW_WINE_CHIP="Z:${work//\//\\}\\chip" "$wine" "$win_folder\\fusewright-wine-check.exe" \
  -o "Z:${work//\//\\}\\check.txt,txt" >"$work/check.out" 2>&1 || status=$?
cat "$work/check.txt" 2>/dev/null || cat "$work/check.out"
echo "window check under Wine: $((SECONDS - started)) s"
[ "$status" = 0 ] || { echo "--- simulator log (tail):"; tail -n 20 "$work/sim.log"; fail "the window check failed"; }

source "$(dirname "$0")/setup_check.sh"
