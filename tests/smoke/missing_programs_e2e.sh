#!/usr/bin/env bash
# Entries whose program is gone, end to end: the rows of the missing ones are red. The
# screenshot $QEL_BUILD/missing.png shows them, the last (missing) row selected with its note.
set -euo pipefail
source "$QEL_ROOT/tools/wine-env.sh"
smoke_prefix missing
run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# Wine lists a key's values alphabetically: the letters give the rows' order.
wine_reg_add "$run" /v 'a-引号含空格' /d '"C:\Program Files\已卸载\app.exe" -min'
wine_reg_add "$run" /v 'b-无引号带参数' /d 'C:\已卸载\tool.exe /background'
wine_reg_add "$run" /v 'c-SystemRoot' /t REG_EXPAND_SZ /d '%SystemRoot%\system32\notepad.exe'
wine_reg_add "$run" /v 'd-记事本' /d 'notepad.exe'
wine_reg_add "$run" /v 'e-rundll32' /d 'rundll32.exe C:\已卸载\helper.dll,Start'
wine_reg_add "$run" /v 'f-网络' /d '\\server\share\app.exe'
wine_reg_add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v load /d 'notepad.exe C:\已卸载\load.exe'
# A shortcut whose program was uninstalled after it was made, and one that works.
mkdir -p "$prefix/drive_c/已卸载" && echo MZ >"$prefix/drive_c/已卸载/旧程序.exe"
for link in '旧程序.lnk C:\已卸载\旧程序.exe' '记事本.lnk C:\windows\system32\notepad.exe'; do
  wine "$QEL_MAKE_SHORTCUT" "$(winepath -w "$startup")\\${link% *}" "${link#* }" </dev/null
done
rm "$prefix/drive_c/已卸载/旧程序.exe"

start_qelmora "$QEL_EXE"
key Tab End  # the load line, whose second program is missing
sleep 0.5
import -window "$QEL_WINDOW" "$QEL_BUILD/missing.png"
# Rows drawn in red: pixel lines holding pure red, grouped where less than a row's gap apart.
red_rows="$(convert "$QEL_BUILD/missing.png" txt:- | sed -n 's/^[0-9]*,\([0-9]*\):.*#FF0000.*/\1/p' |
  sort -un | awk 'NR==1||$1>last+4{n++} {last=$1} END{print n+0}')"
check "a, b, e and the gone shortcut are red; the selected load line is highlighted ($red_rows)" \
  test "$red_rows" = 4
key alt+F4
exit "$fail"
