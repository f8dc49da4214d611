#!/usr/bin/env bash
# The Debian package: built by CPack; its files, control fields and lintian's
# verdict; unpacked (never installed) into a temporary root, where the desktop
# entry and metainfo must validate. Then an unprivileged user with a runtime
# folder of its own runs the unpacked program against the virtual chip: fuse
# read, write, read back, calibration read. The exchange files go to that
# user's folder only and are gone afterwards; the unpacked tree stays as it was.
set -euo pipefail
build=$1 driver=$2 sim=$3 version=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; chmod -R u+w "$work"; rm -rf "$work"' EXIT

deb="$build/fusewright_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd "$build" && cpack >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
cat >"$work/files" <<'LIST'
./usr/bin/fusewright -> ../lib/fusewright/fusewright
./usr/lib/fusewright/fusewright
./usr/lib/fusewright/tools/avrdude
./usr/lib/fusewright/tools/avrdude.conf
./usr/lib/udev/rules.d/60-fusewright-usbasp.rules
./usr/share/applications/fusewright.desktop
./usr/share/doc/fusewright/README.Debian
./usr/share/doc/fusewright/avrdude-patches/par-setmany-no-pin.patch
./usr/share/doc/fusewright/changelog.gz
./usr/share/doc/fusewright/copyright
./usr/share/icons/hicolor/128x128/apps/fusewright.png
./usr/share/icons/hicolor/32x32/apps/fusewright.png
./usr/share/icons/hicolor/64x64/apps/fusewright.png
./usr/share/man/man1/fusewright.1.gz
./usr/share/metainfo/org.fusewright.fusewright.metainfo.xml
LIST
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {$1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print}' | sort \
  | diff -u "$work/files" - || fail "file list"
[ "$(dpkg-deb -f "$deb" Package Version Section Maintainer | tr '\n' '|')" = \
  "Package: fusewright|Version: $version|Section: electronics|Maintainer: Fusewright <author@fusewright.org>|" ] \
  || fail "control fields: $(dpkg-deb -f "$deb")"
# The own avrdude's libraries in place of Debian's avrdude, by the names of
# the release the package is built on.
source "$(dirname "$0")/../../scripts/lib/release.sh"
suite=$(release_suite)
depends=", $(dpkg-deb -f "$deb" Depends)"
for d in fonts-arphic-uming qt6-translations-l10n qt6-qpa-plugins libqt6widgets6 $(runtime_libraries "$suite"); do
  [[ "$depends," == *", $d "* || "$depends," == *", $d,"* ]] || fail "Depends lacks $d"
done
[[ ", $(dpkg-deb -f "$deb" Depends)" != *", avrdude"* ]] || fail "Depends names avrdude"
lintian "$deb" >"$work/lintian" 2>/dev/null || { cat "$work/lintian" >&2; fail "lintian"; }
! grep -E '^[EW]:' "$work/lintian" || fail "lintian errors or warnings"
root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/fusewright.desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net "$root" >/dev/null || fail "appstreamcli validate-tree"
tools="$root/usr/lib/fusewright/tools"
programmers=$("$tools/avrdude" -C "$tools/avrdude.conf" -c '?' 2>&1 || true)
for id in pony-stk200 usbasp avr910; do
  grep -q "^  $id  *= " <<<"$programmers" || fail "tools/avrdude lacks $id"
done
echo "package: files, control fields, lintian, desktop entry, metainfo, tools/avrdude's programmers"

# nobody when the test runs as root; else this user, with the tree read-only.
home="$work/home" run="$work/home/run/fusewright"
mkdir -p "$home/config/Fusewright" "$home/run" "$work/bin" "$work/chip" && chmod 755 "$work" && chmod 700 "$home/run"
cp "$driver" "$sim" "$work/bin/"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown -R nobody:nogroup "$home" "$work/chip" && as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  chmod -R a-w "$root"
fi
snapshot() { find "$root" -printf '%p %y %s %m %T@ %l\n' | sort; }
snapshot >"$work/tree"
"${as_user[@]}" "$work/bin/$(basename "$sim")" --chip m8 --state "$work/chip" --port-file "$home/port" &
for _ in $(seq 100); do [ -s "$home/port" ] && break; sleep 0.1; done
port=$(head -n 1 "$home/port") && echo "com1=$port" >"$home/config/Fusewright/ports.ini"
"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" XDG_CONFIG_HOME="$home/config" \
  QT_QPA_PLATFORM=offscreen LD_PRELOAD="$work/bin/$(basename "$driver")" timeout 120 "$root/usr/bin/fusewright" \
  >"$work/shown" 2>&1 || { cat "$work/shown" >&2; fail "the program failed"; }
for text in "avrdude: writing output file $run/fuse.bin" "== ticked: SPIEN BTSIZ1 BTSIZ0 SUT0 CKSEL3 CKSEL2 CKSEL1" \
  "$tools/avrdude -p m8 -C $tools/avrdude.conf -c avr910 -P $port -U lfuse:w:\"$run/lfuse.bin\":r -U hfuse:w:\"$run/hfuse.bin\":r -U lock:w:\"$run/lock.bin\":r" \
  "== ticked: SPIEN BTSIZ1 BTSIZ0 SUT0 CKSEL3 CKSEL1 CKSEL0" " -U calibration:r:\"$run/fuse.bin\":r -F" \
  "== calibration: 0xA5 0x9F 0x9D 0xA0"; do
  grep -qF -- "$text" "$work/shown" || { cat "$work/shown" >&2; fail "not shown: $text"; }
done
[ "$(grep '^== message' "$work/shown")" = "== message: 提示|确定进行熔丝位的写入？" ] || fail "messages: $(grep '^== message' "$work/shown")"
[ "$(od -An -tx1 "$work/chip/lfuse")" = " e4" ] || fail "the chip's low fuse is not E4"
[ "$(stat -c '%a %U' "$run")" = "700 $(stat -c %U "$home")" ] && [ -z "$(ls -A "$run")" ] || fail "$run: $(ls -lA "$run")"
[ ! -e "$home/.cache/fusewright" ] || fail "exchange files went to the cache folder"
snapshot | diff -u "$work/tree" - || fail "the unpacked tree changed"
echo "unpacked program as $(stat -c %U "$home"): fuse read, write, read back and calibration read through $run"
echo "1 passed, 0 failed"
