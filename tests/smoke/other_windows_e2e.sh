#!/usr/bin/env bash
# The process monitor, the Winlogon editor and the help window, opened from the
# real program and operated by keyboard only; the registry is read back with
# `wine reg query`, the files byte for byte. Screenshots: form5.png (a note
# shown), form4.png and form3.png in $QEL_BUILD.
set -euo pipefail
: "${QEL_ROOT:?}" "${QEL_BUILD:?}" "${QEL_EXE:?}"
# shellcheck source=tools/wine-env.sh
source "$QEL_ROOT/tools/wine-env.sh"

prefix="$QEL_BUILD/smoke-prefix-windows"
rm -rf "$prefix"
QEL_PRIVATE_DISPLAY=1 ensure_display
wine_prefix_init "$prefix"
wine_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N  # Wine draws the captions
wine_reg_add 'HKCU\Software\Policies\Microsoft\Internet Explorer\Control Panel' /v OpenMyHomePage /t REG_DWORD /d 1
wl='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Winlogon'
wine_reg_add "$wl" /v Userinit /t REG_SZ /d 'C:\WINNT\system32\userinit.exe,C:\工具\守护.exe'
wine_reg_add "$wl" /v Shell /t REG_SZ /d 'Explorer.exe'
wine_reg_add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProductKey /d 'QELMO-RA42T-ESTKY-12345-67890'
userinit() { wine reg query "$wl" /v Userinit </dev/null 2>/dev/null; }  # raw GBK bytes
userinit_before="$(userinit)"
# The program with a small notes file beside it, in the notes' block format.
folder="$prefix/drive_c/Qelmora"
mkdir -p "$folder"
cp "$QEL_EXE" "$folder/Qelmora.exe"
for name in services.exe winedevice.exe plugplay.exe explorer.exe svchost.exe rpcss.exe; do
  printf '%s\n系统服务进程，由 Wine 提供\n位置：C:\\windows\\system32\n结束它会使系统不稳定\n\n' "$name"
done | iconv -f UTF-8 -t GBK | sed 's/$/\r/' >"$folder/process.dll"
system32="$prefix/drive_c/windows/system32"

fail=0
check() { if "${@:2}"; then echo "ok   - $1"; else echo "FAIL - $1"; fail=1; fi; }  # DESCRIPTION COMMAND...
shell_is() { wine_reg_query "$wl" /v shell | grep -qxF "    shell    REG_SZ    $1"; }
userinit_kept() { [[ "$(userinit)" == "$userinit_before" ]]; }
shown() { wait_window 10 --name "$1"; }
gone() { sleep 0.5; ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

start_qelmora "$folder/Qelmora.exe"
pid=$QEL_PID
# The process monitor: backwards from the confirm button, 网站, 其它, 进程.
send_keys "$QEL_WINDOW" shift+Tab shift+Tab shift+Tab space
form5="$(wait_window 20 --name '^进程$')" || { echo "FAIL - no 进程 window"; kill "$pid"; exit 1; }
sleep 1
send_keys "$form5" Down  # the list view has the focus: its first row, and its note
sleep 1
import -window "$form5" "$QEL_BUILD/form5.png"
send_keys "$form5" Tab Tab space  # 强行中止 is now enabled: two Tabs reach 保存当前进程
sleep 1.5
xdotool key Return  # the message box's OK
sleep 1
# What the system lists while the window is still open (winedbg's own
# processes aside), in process ID order as the snapshot gives them.
listed="$(timeout 60 winedbg --command 'info proc' </dev/null 2>/dev/null |
  sed -n "s/^.\([0-9a-f]\{8\}\) .*'\(.*\)'.*/\1 \2/p" | grep -vE ' (start|winedbg|conhost)\.exe$' |
  while read -r hex name; do echo "$((16#$hex)) $name"; done | sort -n | cut -d' ' -f2- |
  tr 'A-Z' 'a-z' | sed 's/$/\r/')"
send_keys "$form5" Escape
sleep 1
check "Esc closes the process monitor" bash -c "! xdotool search --name '^进程\$' >/dev/null"
check "morvane5.txt lists the processes the system listed, byte for byte" \
  cmp -s <(printf '%s\n' "$listed") "$system32/morvane5.txt"
check "morvane4.txt is written, empty: nothing was trusted" test -f "$system32/morvane4.txt" -a ! -s "$system32/morvane4.txt"

# The Winlogon editor: the focus is back on 进程, and 其它 is next.
editor='^其它注册表启动项'
send_keys "$QEL_WINDOW" Tab space
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

# The help window: five Tabs from "其它" reach "帮助"; Tab from the help text reaches "确定".
send_keys "$QEL_WINDOW" Tab Tab Tab Tab Tab space
f3="$(shown '^帮助$')" && sleep 0.5 && import -window "$f3" "$QEL_BUILD/form3.png"
send_keys "$f3" Tab space
check "确定 closes the help window" gone '^帮助$'
send_keys "$QEL_WINDOW" alt+F4
wait "$pid" || true
wine_stop "$prefix"
exit "$fail"
