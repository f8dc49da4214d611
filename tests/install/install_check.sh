#!/usr/bin/env bash
# cmake --install into a fresh prefix (with a blank in its path): the program
# folder with its own avrdude (pony-stk200 in its list), the launcher, the desktop entry (checked by
# desktop-file-validate) and the icons, every installed file listed in
# install_manifest.txt; then the installed launcher starts the program
# headless, and it runs from its program folder beside tools/.
set -euo pipefail
build=$1

fail() { echo "FAIL: $*" >&2; exit 1; }
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is not installed (desktop-file-utils)"

work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
prefix="$work/my prefix"

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "cmake --install failed"; }

program="$prefix/lib/fusewright/fusewright"
[ -x "$program" ] && [ ! -L "$program" ] || fail "no program at $program"
tools="$prefix/lib/fusewright/tools"
[ -x "$tools/avrdude" ] && [ ! -L "$tools/avrdude" ] || fail "no program at $tools/avrdude"
programmers=$("$tools/avrdude" -C "$tools/avrdude.conf" -c '?' 2>&1 || true)
grep -q '^  pony-stk200  *= ' <<<"$programmers" || fail "tools/avrdude with its avrdude.conf has no pony-stk200"
[ "$(readlink -f "$prefix/bin/fusewright")" = "$(readlink -f "$program")" ] || fail "the launcher does not lead to the program"
for size in 32 64 128; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/fusewright.png"
  file -b "$icon" | grep -q "PNG image data, $size x $size" || fail "no ${size}x${size} icon"
done
entry="$prefix/share/applications/fusewright.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
grep -qxF "Exec=\"$prefix/bin/fusewright\"" "$entry" || fail "Exec does not start the launcher: $(grep ^Exec "$entry")"
grep -qx 'Icon=fusewright' "$entry" || fail "the entry names another icon"
sort "$build/install_manifest.txt" | diff -u - <(find "$prefix" ! -type d | sort) \
  || fail "install_manifest.txt does not list exactly the installed files"
echo "installed: program, own avrdude, launcher, desktop entry, icons; all in install_manifest.txt"

mkdir -m 700 "$work/run"
XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen "$prefix/bin/fusewright" >"$work/out.log" 2>&1 &
pid=$!
lock="$work/run/fusewright-$(id -u).lock"
for _ in $(seq 1 300); do
  [ -e "$lock" ] && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/out.log" >&2; fail "the installed program ended at start"; }
  sleep 0.1
done
[ -e "$lock" ] || { cat "$work/out.log" >&2; fail "the installed program took no instance lock within 30 s"; }
sleep 0.5
kill -0 "$pid" 2>/dev/null || { cat "$work/out.log" >&2; fail "the installed program ended"; }
[ "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$program")" ] || fail "the launcher ran another program"
echo "the installed launcher started the program headless from $(dirname "$program")"
echo "1 passed, 0 failed"
