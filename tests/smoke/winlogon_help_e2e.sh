#!/usr/bin/env bash
# The Winlogon editor and the help window, opened from the real program and
# operated by keyboard only: correct shell (Userinit must keep its bytes),
# try an empty Userinit (a message, nothing written), open and close the help.
# The registry is read back with `wine reg query`. Screenshots of both windows
# are left in $QEL_BUILD/form4.png and form3.png.
set -euo pipefail
: "${QEL_ROOT:?}" "${QEL_BUILD:?}" "${QEL_EXE:?}"
# shellcheck source=tools/wine-env.sh
source "$QEL_ROOT/tools/wine-env.sh"

prefix="$QEL_BUILD/smoke-prefix-winlogon"
rm -rf "$prefix"
QEL_PRIVATE_DISPLAY=1 ensure_display
wine_prefix_init "$prefix"
wine_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N  # Wine draws the captions
wl='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Winlogon'
wine_reg_add "$wl" /v Userinit /t REG_SZ /d 'C:\WINNT\system32\userinit.exe,C:\工具\守护.exe'
wine_reg_add "$wl" /v Shell /t REG_SZ /d 'Explorer.exe'
wine_reg_add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProductKey /d 'QELMO-RA42T-ESTKY-12345-67890'
wine_reg_add 'HKCU\Software\Policies\Microsoft\Internet Explorer\Control Panel' \
  /v OpenMyHomePage /t REG_DWORD /d 1
userinit() { wine reg query "$wl" /v Userinit </dev/null 2>/dev/null; }  # raw GBK bytes
userinit_before="$(userinit)"

fail=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok   - $1"; else echo "FAIL - $1"; fail=1; fi
}
shell_is() { wine_reg_query "$wl" /v shell | grep -qxF "    shell    REG_SZ    $1"; }
userinit_kept() { [[ "$(userinit)" == "$userinit_before" ]]; }
shown() { wait_window 10 --name "$1"; }
gone() { sleep 0.5; ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
editor='^其它注册表启动项'

start_qelmora "$QEL_EXE"
# Two Shift+Tabs from the confirm button reach "其它".
send_keys "$QEL_WINDOW" shift+Tab shift+Tab space
f4="$(shown "$editor")" && sleep 0.5 && import -window "$f4" "$QEL_BUILD/form4.png"
# "修改" holds the focus and hands it on to "确认"; one Shift+Tab is shell.
send_keys "$f4" space shift+Tab
xdotool type --delay 50 'C:\Tools\myshell.exe /s'
send_keys "$f4" Tab space
sleep 0.5
check "shell holds the typed text" shell_is 'C:\Tools\myshell.exe /s'
check "Userinit is byte-identical" userinit_kept
send_keys "$f4" space  # the focus went on to "退出", which closes the editor

# Reopened (the focus is back on "其它"): empty Userinit and confirm.
send_keys "$QEL_WINDOW" space
f4="$(shown "$editor")"
send_keys "$f4" space shift+Tab shift+Tab BackSpace Tab Tab space
check "an empty Userinit brings a message" test -n "$(shown '^Qelmora$')"
xdotool key Return
check "and writes nothing" userinit_kept
send_keys "$f4" alt+F4  # the close box

# Five Tabs from "其它" reach "帮助"; Tab from the help text reaches "确定".
send_keys "$QEL_WINDOW" Tab Tab Tab Tab Tab space
f3="$(shown '^帮助$')" && sleep 0.5 && import -window "$f3" "$QEL_BUILD/form3.png"
send_keys "$f3" Tab space
check "确定 closes the help window" gone '^帮助$'
send_keys "$QEL_WINDOW" alt+F4
wine_stop "$prefix"
exit "$fail"
