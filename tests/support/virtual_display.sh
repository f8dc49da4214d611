# Sourced by the checks that put real windows on a virtual X display.

wait_for() {   # wait_for <seconds> <command...>: true once the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# The first visible window titled exactly $1.
visible_window() { xdotool search --onlyvisible --name "^$1\$" | head -n 1 | grep .; }

# start_virtual_display <folder>: Xvfb picks a free display itself and
# reports it, so displays started at the same time never race. Sets xvfb to
# its process and exports DISPLAY once the server answers.
start_virtual_display() {
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$1/display" >"$1/xvfb.log" 2>&1 &
  xvfb=$!
  wait_for 30 test -s "$1/display" || { cat "$1/xvfb.log" >&2; return 1; }
  export DISPLAY=":$(head -n 1 "$1/display")"
  wait_for 10 xwininfo -root
}
