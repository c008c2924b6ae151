#!/usr/bin/env bash
# The real program on a prefix seeded with Chinese entries, by keyboard only: screenshots of
# its windows ($QEL_BUILD/form1.png, form5.png with a note shown, form4.png, form3.png); the
# process monitor saves the process list, the Winlogon editor writes shell.
set -euo pipefail
source "$QEL_ROOT/tools/wine-env.sh"
smoke_prefix windows
cv='Software\Microsoft\Windows\CurrentVersion'
wl='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Winlogon'
wine_reg_add "HKLM\\$cv\\Run" /v '输入法' /t REG_SZ /d 'C:\Program Files\输入法\ime.exe /tray'
wine_reg_add "HKLM\\$cv\\Run-" /v '已停用的更新' /t REG_SZ /d 'C:\更新\update.exe /silent'
wine_reg_add "HKCU\\$cv\\Run" /v '杀毒软件监控' /t REG_SZ /d '"C:\Program Files\杀毒\monitor.exe" -auto'
wine_reg_add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v load /t REG_SZ /d 'C:\加载\程序.exe'
wine_reg_add "$wl" /v Userinit /t REG_SZ /d 'C:\WINNT\system32\userinit.exe,C:\工具\守护.exe'
wine_reg_add "$wl" /v Shell /t REG_SZ /d 'Explorer.exe'
wine_reg_add "HKLM\\$cv" /v ProductKey /d 'QELMO-RA42T-ESTKY-12345-67890'
echo shortcut >"$startup/便签.lnk"
userinit() { wine reg query "$wl" /v Userinit </dev/null 2>/dev/null; }  # raw GBK bytes
userinit_before="$(userinit)"
shot() { sleep 0.5; import -window "$1" "$2"; }
shown() { wait_window 10 --name "$1"; }

start_qelmora "$QEL_EXE"
shot "$QEL_WINDOW" "$QEL_BUILD/form1.png"
# A changed mark, then back past the confirm button to 进程 (网站, 其它, 进程).
key Tab Down space shift+Tab shift+Tab shift+Tab shift+Tab space
form5="$(wait_window 20 --name '^进程$')" || { echo "FAIL - no 进程 window"; kill "$QEL_PID"; exit 1; }
send_keys "$form5" Down  # the list view has the focus: its first row, and its note
shot "$form5" "$QEL_BUILD/form5.png"
send_keys "$form5" Tab Tab space  # 强行中止 is now enabled: two Tabs reach 保存当前进程
dismiss_box 10
send_keys "$form5" Escape
check "Esc closes the process monitor" window_gone 5 --name '^进程$'
check "morvane5.txt lists this program among the processes, CR LF lines" grep -qx $'qelmora.exe\r' "$system32/morvane5.txt"

# The Winlogon editor: the focus is back on 进程, and 其它 is next.
key Tab space
f4="$(shown '^其它注册表启动项')" && shot "$f4" "$QEL_BUILD/form4.png"
# "修改" holds the focus and hands it on to "确认"; one Shift+Tab is shell.
send_keys "$f4" space shift+Tab
xdotool type --delay 50 'C:\Tools\myshell.exe /s'
send_keys "$f4" Tab space
send_keys "$f4" space  # the focus went on to "退出", which closes the editor
check "shell holds the typed text" bash -c "wine reg query '$wl' /v shell | tr -d '\r' | grep -qxF '    shell    REG_SZ    C:\Tools\myshell.exe /s'"
check "Userinit, Chinese bytes and all, is byte-identical" test "$(userinit)" == "$userinit_before"

# The help window: five Tabs from "其它" reach "帮助"; Tab from the help text reaches "确定".
key Tab Tab Tab Tab Tab space
f3="$(shown '^帮助$')" && shot "$f3" "$QEL_BUILD/form3.png"
send_keys "$f3" Tab space
check "确定 closes the help window" window_gone 5 --onlyvisible --name '^帮助$'
key alt+F4
check "the close box ends the program" ended
exit "$fail"
