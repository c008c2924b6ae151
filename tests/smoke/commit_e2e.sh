#!/usr/bin/env bash
# The real program end to end: a registry and Startup folder seeded with
# `wine reg add` (not with our code), Qelmora operated by keyboard only (save
# the snapshot, uncheck one entry, confirm), and the result read back with
# `wine reg query` and from the files.
set -euo pipefail
: "${QEL_ROOT:?}" "${QEL_BUILD:?}" "${QEL_EXE:?}"
# shellcheck source=tools/wine-env.sh
source "$QEL_ROOT/tools/wine-env.sh"

prefix="$QEL_BUILD/smoke-prefix-commit"
rm -rf "$prefix"
QEL_PRIVATE_DISPLAY=1 ensure_display
wine_prefix_init "$prefix"

lm='HKLM\Software\Microsoft\Windows\CurrentVersion'
cu='HKCU\Software\Microsoft\Windows\CurrentVersion'
winini='HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows'
long_data="C:\\$(printf 'x%.0s' $(seq 290)).exe"

wine_reg_add "$lm\\Run" /v a-toggle /t REG_SZ /d 'C:\toggle.exe /t'
wine_reg_add "$lm\\Run" /v m-multi /t REG_MULTI_SZ /d 'one\0two'
wine_reg_add "$lm\\Run" /v z-long /t REG_SZ /d "$long_data"
wine_reg_add "$lm\\Run-" /v off /t REG_SZ /d 'C:\off.exe'
# The same name enabled and disabled: both marks are toggled, so they trade places.
wine_reg_add "$lm\\Run" /v Foo /t REG_SZ /d 'C:\foo-on.exe'
wine_reg_add "$lm\\Run-" /v Foo /t REG_EXPAND_SZ /d '%windir%\foo-off.exe'
wine_reg_add "$cu\\Run" /v expand /t REG_EXPAND_SZ /d '%SystemRoot%\x.exe'
wine_reg_add "$cu\\Run" /v '演示' /t REG_SZ /d 'C:\演示\程序.exe'
wine_reg_add "$lm\\RunOnceEx" /v Flags /t REG_DWORD /d 32
wine_reg_add "$winini" /v load /t REG_SZ /d 'l.exe m.exe'
wine_reg_add "$winini" /v noload /t REG_SZ /d 'n.exe'
# No start page yet: the commit writes about:blank for both roots.
wine_reg_delete 'HKCU\Software\Microsoft\Internet Explorer\Main' /v 'Start Page' || true
wine_reg_add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' /v NoRun /t REG_DWORD /d 1
wine_reg_add 'HKCU\Software\Policies\Microsoft\Internet Explorer\Control Panel' /v OpenMyHomePage /t REG_DWORD /d 1
startup="$(wine_startup_folder)"
mkdir -p "$startup"
echo shortcut >"$startup/plain.lnk"
echo shortcut >"$startup/hidden.lnk"
wine_set_hidden "$startup/hidden.lnk"

fail=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok   - $1"; else echo "FAIL - $1"; fail=1; fi
}
value_is() {  # value_is KEY NAME TYPE DATA
  wine_reg_query "$1" /v "$2" | grep -qxF "    $2    $3    $4"
}
no_value() { ! wine_reg_query "$1" /v "$2" >/dev/null; }

start_qelmora "$QEL_EXE"
pid=$QEL_PID
key() { send_keys "$QEL_WINDOW" "$@"; }

# The confirm button holds the focus; eight Tabs reach "保存当前项到文件".
key Tab Tab Tab Tab Tab Tab Tab Tab space
sleep 1.5
xdotool key Return  # the message box's OK
sleep 1
# Back to the list (seven Shift+Tabs). Wine lists a key's values alphabetically:
# a-toggle, Foo, z-long in Run, then Foo, off in Run-. Clear the first row's
# mark and toggle both Foo rows.
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Home space
key Down space Down Down space
sleep 0.5
# One more Shift+Tab is the confirm button.
key shift+Tab space
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
check "the program ended after confirming" bash -c "! kill -0 $pid 2>/dev/null"
kill "$pid" 2>/dev/null || true

check "the unchecked entry moved to Run-" value_is "$lm\\Run-" a-toggle REG_SZ 'C:\toggle.exe /t'
check "and left Run" no_value "$lm\\Run" a-toggle
check "the enabled Foo moved to Run-" value_is "$lm\\Run-" Foo REG_SZ 'C:\foo-on.exe'
check "the disabled Foo moved to Run, still expandable" value_is "$lm\\Run" Foo REG_EXPAND_SZ '%windir%\foo-off.exe'
check "no spare copy is left behind" no_value "$lm\\Run-" 'Foo (backup)'
check "the disabled entry stayed disabled" value_is "$lm\\Run-" off REG_SZ 'C:\off.exe'
check "a 300-byte command line survived" value_is "$lm\\Run" z-long REG_SZ "$long_data"
check "REG_MULTI_SZ was not touched" value_is "$lm\\Run" m-multi REG_MULTI_SZ 'one\0two'
check "REG_EXPAND_SZ kept its type" value_is "$cu\\Run" expand REG_EXPAND_SZ '%SystemRoot%\x.exe'
check "a Chinese entry kept its bytes" value_is "$cu\\Run" '演示' REG_SZ 'C:\演示\程序.exe'
check "RunOnceEx Flags stayed REG_DWORD" value_is "$lm\\RunOnceEx" Flags REG_DWORD 0x20
check "Win.ini load kept" value_is "$winini" load REG_SZ 'l.exe m.exe'
check "Win.ini noload kept" value_is "$winini" noload REG_SZ 'n.exe'
check "the hidden Startup file stayed hidden" bash -c "wine attrib '$(winepath -w "$startup/hidden.lnk")' | cut -c1-12 | grep -q H"
check "the plain Startup file is still there" test -f "$startup/plain.lnk"
check "NoRun was lifted" no_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' NoRun
check "the start page became about:blank for the user" value_is 'HKCU\Software\Microsoft\Internet Explorer\Main' 'start page' REG_SZ about:blank
check "and for the machine" value_is 'HKLM\Software\Microsoft\Internet Explorer\Main' 'start page' REG_SZ about:blank

system32="$prefix/drive_c/windows/system32"
check "the snapshot holds the entry as it was (checked)" grep -qaF $'"a-toggle","True"\r' "$system32/morvane1.txt"
check "its command line" grep -qaF $'C:\\toggle.exe /t\r' "$system32/morvane2.txt"
check "and its tag" grep -qaxF $'reg\r' "$system32/morvane3.txt"
check "the snapshot's Chinese name is GBK" bash -c "iconv -f GBK -t UTF-8 '$system32/morvane1.txt' | grep -qF '\"演示\",\"True\"'"

wine_stop "$prefix"
exit $fail
