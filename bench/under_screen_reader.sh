#!/usr/bin/env bash
# under_screen_reader.sh <command...>: runs the command on an Xvfb display of
# its own, with accessibility on and a stand-in screen reader registered on
# the accessibility bus, as a user of a screen reader has it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/support/virtual_display.sh"
folder=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$folder"' EXIT
start_virtual_display "$folder"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR=$folder
stand_in=${FW_SCREEN_READER_STAND_IN:-$here/../build/bench/bench_screen_reader_stand_in}
# The session bus ends with the command, and the accessibility bus with it.
exec dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null &
  coproc reader { "$0" 2>&1; }
  read -r -t 20 line <&"${reader[0]}" && [ "$line" = ready ] \
    || { echo "under_screen_reader: the stand-in reader did not register: $line" >&2; exit 1; }
  "$@"
' "$stand_in" "$@" 2> >(grep -v "Failed to set fd limit\|Activating service\|Successfully activated\|SpiRegistry daemon" >&2)
