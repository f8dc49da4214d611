# Sourced by wine_check.sh (uses its $wine, $work and fail). The zip's
# avrdude.exe has USB through the libusb-1.0.dll beside it, and with no
# USBasp about says so in its own words. Then the stand-in DLL, which has
# every function avrdude.exe imports from it, takes the real one's place in
# the unpacked copy.

# The libusb functions a PE file imports from libusb-1.0.dll, or exports, as
# the objdump of binutils 2.40 (Debian 12) or 2.44 (Debian 13) lists them.
libusb_functions() {
  x86_64-w64-mingw32-objdump -p "$2" | if [ "$1" = imports ]; then
    sed -n '/DLL Name: libusb-1.0.dll/,/^$/s/^\s*[0-9a-f]\+\s.*\s\(libusb_\w\+\)$/\1/p'
  else
    sed -n 's/^\s*\[\s*[0-9]\+\].*\s\(libusb_\w\+\)$/\1/p'
  fi | sort
}

check_usb_tools() {
  local folder=$1 win_folder=$2 standin=$3 imports missing
  [ -f "$folder/tools/libusb-1.0.dll" ] || fail "the zip has no tools/libusb-1.0.dll"
  [ -f "$standin" ] || fail "no stand-in libusb-1.0.dll at $standin"
  imports=$(libusb_functions imports "$folder/tools/avrdude.exe")
  [ -n "$imports" ] || fail "tools/avrdude.exe does not import libusb-1.0.dll"
  missing=$(comm -23 <(echo "$imports") <(libusb_functions exports "$standin"))
  [ -z "$missing" ] || fail "the stand-in libusb-1.0.dll lacks" $missing

  "$wine" "$win_folder\\tools\\avrdude.exe" -C "$win_folder\\tools\\avrdude.conf" -c usbasp -P usb -p m8 \
    >"$work/no-usbasp.log" 2>&1 && fail "avrdude.exe found a USBasp that is not there"
  grep -qF "avrdude error: cannot find USB device with vid=0x16c0 pid=0x5dc vendor='www.fischl.de' product='USBasp'" \
    "$work/no-usbasp.log" || { cat "$work/no-usbasp.log" >&2; fail "avrdude.exe did not look for the USBasp"; }
  echo "tools/avrdude.exe imports $(echo $imports | wc -w) functions of libusb-1.0.dll, and finds no USBasp"
  cp "$standin" "$folder/tools/libusb-1.0.dll"
}
