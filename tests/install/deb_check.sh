#!/usr/bin/env bash
# The Debian package: built with CPack, its file list, control fields and
# lintian's verdict; extracted (never installed) into a temporary root, its
# desktop entry and metainfo validated; then the extracted program, run by an
# unprivileged user with a runtime folder of its own, reads, writes and reads
# back the fuses and reads the calibration bytes of the virtual chip. Its
# exchange files go only to that user's folder and are gone afterwards, and
# nothing in the extracted tree changes.
set -euo pipefail
build=$1 driver=$2 sim=$3 version=$4

fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
sim_pid=
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

deb="$build/fusewright_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd "$build" && cpack >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
[ -f "$deb" ] || fail "no $deb"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($1, 1, 1), $6, $7, $8}' | sort >"$work/files"
diff -u - "$work/files" <<'LIST' || fail "unexpected file list"
- ./usr/lib/fusewright/fusewright  
- ./usr/lib/udev/rules.d/60-fusewright-usbasp.rules  
- ./usr/share/applications/fusewright.desktop  
- ./usr/share/doc/fusewright/changelog.gz  
- ./usr/share/doc/fusewright/copyright  
- ./usr/share/icons/hicolor/128x128/apps/fusewright.png  
- ./usr/share/icons/hicolor/32x32/apps/fusewright.png  
- ./usr/share/icons/hicolor/64x64/apps/fusewright.png  
- ./usr/share/man/man1/fusewright.1.gz  
- ./usr/share/metainfo/org.fusewright.fusewright.metainfo.xml  
l ./usr/bin/fusewright -> ../lib/fusewright/fusewright
l ./usr/lib/fusewright/tools/avrdude -> /usr/bin/avrdude
l ./usr/lib/fusewright/tools/avrdude.conf -> /etc/avrdude.conf
LIST
[ "$(dpkg-deb -f "$deb" Package Version Section Maintainer | tr '\n' '|')" \
  = "Package: fusewright|Version: $version|Section: electronics|Maintainer: Fusewright <author@fusewright.org>|" ] \
  || fail "control fields: $(dpkg-deb -f "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for d in avrdude fonts-arphic-uming qt6-translations-l10n qt6-qpa-plugins 'libqt6widgets6 (>= '; do
  [[ ", $depends" == *", $d"* ]] || fail "Depends lacks $d: $depends"
done
lintian "$deb" >"$work/lintian.log" 2>/dev/null || true
if grep -v '^W: fusewright: absolute-symlink-in-top-level-folder /usr/bin/avrdude \[usr/lib/fusewright/tools/avrdude\]$' \
     "$work/lintian.log" | grep -E '^[EW]:'; then
  fail "lintian reports errors or warnings not listed in README"
fi
echo "package: file list, control fields, lintian"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/fusewright.desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"

# An unprivileged user of its own: nobody when the test runs as root, else
# this user with the extracted tree made read-only, as an installation is.
home="$work/home"
mkdir -p "$home/config/Fusewright" "$home/run" "$work/bin" "$work/chip"
cp "$driver" "$sim" "$work/bin/"
chmod 755 "$work" && chmod 700 "$home/run"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$home" "$work/chip"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  chmod -R a-w "$root"
fi
snapshot() { find "$root" -printf '%p %y %s %m %T@ %l\n' | sort; }
snapshot >"$work/tree.before"

"${as_user[@]}" "$work/bin/$(basename "$sim")" --chip m8 --state "$work/chip" --port-file "$home/sim-port" &
sim_pid=$!
for _ in $(seq 1 100); do [ -s "$home/sim-port" ] && break; sleep 0.1; done
[ -s "$home/sim-port" ] || fail "the simulator did not start"
echo "com1=$(head -n 1 "$home/sim-port")" >"$home/config/Fusewright/ports.ini"

run="$home/run/fusewright"
"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" XDG_CONFIG_HOME="$home/config" \
  QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LD_PRELOAD="$work/bin/$(basename "$driver")" \
  timeout 120 "$root/usr/bin/fusewright" >"$work/shown" 2>&1 || { cat "$work/shown" >&2; fail "the program failed"; }
shown() { grep -qF -- "$1" "$work/shown" || { cat "$work/shown" >&2; fail "not shown: $1"; }; }
tools="$root/usr/lib/fusewright/tools"
shown "avrdude: writing output file $run/fuse.bin"
shown "== ticked: SPIEN BTSIZ1 BTSIZ0 SUT0 CKSEL3 CKSEL2 CKSEL1"
shown "$tools/avrdude -p m8 -C $tools/avrdude.conf -c avr910 -P $(head -n 1 "$home/sim-port") -U lfuse:w:\"$run/lfuse.bin\":r -U hfuse:w:\"$run/hfuse.bin\":r -U lock:w:\"$run/lock.bin\":r -u"
shown "== ticked: SPIEN BTSIZ1 BTSIZ0 SUT0 CKSEL3 CKSEL1 CKSEL0"
shown " -U calibration:r:\"$run/fuse.bin\":r -F"
shown "== calibration: 0xA5 0x9F 0x9D 0xA0"
grep -qE "^== exchange files seen: (fuse.bin )?hfuse.bin lfuse.bin lock.bin$" "$work/shown" || fail "the write's files were not seen in $run"
[ "$(grep -c '^== message' "$work/shown")" = 1 ] && shown "== message: 提示|确定进行熔丝位的写入？"
[ "$(od -An -tx1 "$work/chip/lfuse" | tr -d ' ')" = e4 ] || fail "the chip's low fuse is not E4"
[ "$(stat -c '%a %U' "$run")" = "700 $(stat -c %U "$home/run")" ] || fail "$run: $(stat -c '%a %U' "$run")"
[ -z "$(ls -A "$run")" ] || fail "exchange files left: $(ls -A "$run")"
[ ! -e "$home/.cache/fusewright" ] || fail "exchange files went to the cache folder"
snapshot | diff -u "$work/tree.before" - || fail "the extracted tree changed"
echo "extracted program as $(stat -c %U "$home/run"): fuse read, write, read back and calibration read through $run"
echo "1 passed, 0 failed"
