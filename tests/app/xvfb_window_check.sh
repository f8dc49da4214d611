#!/usr/bin/env bash
# The real window on a virtual X display: title, client size and centring,
# then a second start that is refused and ends while the first keeps running.
set -euo pipefail
exe=$1

fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in Xvfb xwininfo xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR=$work     # an instance lock of this test's own
unset QT_QPA_PLATFORM

source "$(dirname "$0")/../support/virtual_display.sh"
xvfb=
first=
second=
cleanup() {
  for p in $second $first $xvfb; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_virtual_display "$work" || fail "Xvfb did not start or answer"
# On failure, what the program printed.
fail_with_output() { echo "--- program output:" >&2; cat "$work/first.log" "$work/second.log" >&2 2>/dev/null || true; fail "$*"; }

"$exe" >"$work/first.log" 2>&1 &
first=$!
wait_for 60 visible_window Fusewright || fail_with_output "no window titled Fusewright"
sleep 0.5   # the window centres itself once it is mapped
win=$(visible_window Fusewright)
info=$(xwininfo -id "$win")
width=$(awk '/Width:/ {print $2}' <<<"$info")
height=$(awk '/Height:/ {print $2}' <<<"$info")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
[ "$width" = 898 ] && [ "$height" = 359 ] || fail "client area ${width}x${height}, expected 898x359"
# (1280 - 898) / 2 = 191, (800 - 359) / 2 = 220.5
[ "$left" = 191 ] && [ "$top" = 221 ] || fail "window at $left,$top, expected 191,221"
echo "window Fusewright ${width}x${height} at $left,$top"

"$exe" >"$work/second.log" 2>&1 &
second=$!
wait_for 60 visible_window 重复运行 || fail_with_output "the second start showed no 重复运行 box"
[ -z "$(xdotool search --all --onlyvisible --pid "$second" --name '^Fusewright$' 2>/dev/null)" ] \
  || fail "the second start showed its main window"
box=$(visible_window 重复运行)
xdotool windowfocus --sync "$box" key Return
wait_for 10 bash -c "! kill -0 $second" || fail "the second start did not end"
wait "$second" || fail "the second start ended with an error"
second=
kill -0 "$first" || fail "the first instance ended"
echo "second start refused and ended; first still running"
echo "1 passed, 0 failed"
