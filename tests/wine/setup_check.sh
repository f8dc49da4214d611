# Sourced by wine_check.sh, in its Wine session: the setup program installs
# silently, its Start-menu shortcut starts the program, the installed
# program works as a user who cannot write into its tools folder, and the
# uninstaller takes everything away again.

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Fusewright'
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Fusewright.lnk"
version=$(basename "$zip" -win64.zip); version=${version#fusewright-}
started=$SECONDS
"$wine" "Z:${setup//\//\\}" /S || fail "setup.exe /S failed"
[ -f "$installed/fusewright.exe" ] && [ -f "$installed/tools/avrdude.exe.manifest" ] && [ -f "$installed/uninstall.exe" ] \
  || fail "setup.exe /S did not install into Program Files\\Fusewright"
strings "$shortcut" | grep -qxF 'C:\Program Files\Fusewright\fusewright.exe' || fail "no Start-menu shortcut to the program"
"$wine" reg export "$key" "Z:${work//\//\\}\\key.reg" /y >/dev/null || fail "no uninstall key"
iconv -f UTF-16 -t UTF-8 "$work/key.reg" | tr -d '\r' >"$work/key.txt"
for field in '"DisplayName"="Fusewright"' "\"DisplayVersion\"=\"$version\"" '"Publisher"="熔丝工坊"' \
    '"DisplayIcon"="C:\\Program Files\\Fusewright\\fusewright.exe,0"' \
    '"UninstallString"="\"C:\\Program Files\\Fusewright\\uninstall.exe\""'; do
  grep -qxF "$field" "$work/key.txt" || { cat "$work/key.txt" >&2; fail "the uninstall key lacks $field"; }
done
size=$((16#$(sed -n 's/^"EstimatedSize"=dword://p' "$work/key.txt")))
[ $((size * 10)) -gt $(($(du -sk "$installed" | cut -f1) * 9)) ] || fail "EstimatedSize $size KiB is too small"

# The executable's own icon, version information and manifest.
wrestool -x -t 14 "$installed/fusewright.exe" >"$work/icon.ico"
[ "$(icotool -l "$work/icon.ico")" = "$(icotool -l "$(dirname "$0")/../../src/platform/windows/fusewright.ico")" ] \
  || fail "fusewright.exe lacks the program icon in its seven sizes"
wrestool -x --raw -t 16 "$installed/fusewright.exe" | iconv -f UTF-16LE -t UTF-8 | tr '\0' '\n' >"$work/version.txt"
for value in 熔丝工坊 Fusewright fusewright.exe "$version" "Copyright © 2026 熔丝工坊"; do
  grep -qxF "$value" "$work/version.txt" || fail "the version resource lacks $value"
done
wrestool -x --raw -t 24 "$installed/fusewright.exe" | grep -q '<dpiAwareness[^>]*>PerMonitorV2<' \
  || fail "fusewright.exe has no manifest"
echo "installed by setup.exe /S in $((SECONDS - started)) s: shortcut, uninstall key and resources checked"

# Started as the Start menu starts it, through its shortcut.
started=$SECONDS
"$wine" start 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Fusewright.lnk' >"$work/shortcut.log" 2>&1 \
  || { cat "$work/shortcut.log" >&2; fail "Wine could not open the Start-menu shortcut"; }
wait_for 120 visible_window Fusewright || { shown_instead "$work/shortcut.log"; fail "the Start-menu shortcut showed no window"; }
"$wineserver" -k
echo "the Start-menu shortcut started the program in $((SECONDS - started)) s"

# A user without write access to the tools folder: the window check again,
# the exchange files in %LOCALAPPDATA%\Fusewright. Root would write anyway,
# so the session runs without the capability that ignores file modes.
cp "$check_exe" "$build_win/Qt6Test.dll" "$installed/"
chmod a-w "$installed/tools"
user=()
[ "$(id -u)" != 0 ] || user=(setpriv --inh-caps=-dac_override --bounding-set=-dac_override --)
start_programmer chip2
started=$SECONDS
status=0
FW_WINE_USER_EXCHANGE=1 FW_WINE_CHIP="Z:${work//\//\\}\\chip2" "${user[@]}" "$wine" \
  'C:\Program Files\Fusewright\fusewright-wine-check.exe' fuseReadPresetWriteAndFlashThroughCom1 \
  -o "Z:${work//\//\\}\\installed.txt,txt" >"$work/installed.out" 2>&1 || status=$?
"$wineserver" -k
cat "$work/installed.txt" 2>/dev/null || cat "$work/installed.out"
[ "$status" = 0 ] || fail "the installed program failed with an unwritable tools folder"
left=$(find "$WINEPREFIX/drive_c" "$work" \( -name fuse.bin -o -name lfuse.bin -o -name hfuse.bin -o -name lock.bin \))
[ -z "$left" ] || fail "exchange files left behind: $left"
echo "installed program with an unwritable tools folder: $((SECONDS - started)) s"

chmod u+w "$installed/tools"
rm "$installed/fusewright-wine-check.exe" "$installed/Qt6Test.dll"
started=$SECONDS
"$wine" 'C:\Program Files\Fusewright\uninstall.exe' /S || fail "uninstall.exe /S failed"
# The uninstaller works on from a copy of itself.
wait_for 30 test ! -e "$installed" || fail "uninstall.exe /S left $(cd "$installed" && find .)"
[ ! -e "$shortcut" ] || fail "uninstall.exe /S left the Start-menu shortcut"
! "$wine" reg query "$key" >/dev/null 2>&1 || fail "uninstall.exe /S left the uninstall key"
echo "uninstall.exe /S removed the program, the shortcut and the key in $((SECONDS - started)) s"
