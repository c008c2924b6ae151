#!/usr/bin/env bash
# The places of today's Windows, end to end: values seeded with `wine reg add` in both
# registry views (/reg:32 is the x86_64 program's other view), Task Manager's flags, both
# policy Run keys and the All Users Startup folder; Qelmora operated by keyboard; then every
# key involved compared, whole, before and after the confirm.
set -euo pipefail
source "$QEL_ROOT/tools/wine-env.sh"
smoke_prefix places
cv='Software\Microsoft\Windows\CurrentVersion'
add() { wine_reg_add "$1\\$cv\\$2" /v "$3" /t "${5:-REG_SZ}" /d "$4" "/reg:${6:-64}"; }
add HKLM Run v-both 'C:\own.exe'
add HKLM Run v-keep 'C:\keep.exe'
add HKLM Run- v-back 'C:\back.exe'
add HKLM Run v-both 'C:\other.exe' '' 32  # the same name in the other view: a row of its own
add HKLM Run v-edit 'C:\edit.exe' '' 32
add HKLM Run v-gone 'C:\gone.exe' '' 32
add HKLM RunOnce v-exp '%windir%\exp.exe' REG_EXPAND_SZ 32
add HKCU Run t-off 'C:\t-off.exe'  # disabled in Task Manager
add HKCU Run t-on 'C:\t-on.exe'
add HKCU 'Explorer\StartupApproved\Run' t-off 030000000102030405060708 REG_BINARY
add HKCU 'Explorer\StartupApproved\Run' t-on 020000000102030405060708 REG_BINARY
add HKLM 'Policies\Explorer\Run' p-lm 'C:\p-lm.exe'
add HKCU 'Policies\Explorer\Run' p-cu 'C:\p-cu.exe'
common="$(wine_unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\StartUp')"
mkdir -p "$common" && echo shortcut >"$common/c-all.lnk"
dump() {  # every value of the keys involved, in both views: view|root|key|name|type|data
  for at in {32,64}\|{HKLM,HKCU}\|{{Run,RunServices,RunOnce,RunServicesOnce,RunOnceEx,'Policies\Explorer\Run'}{,-},'Explorer\StartupApproved\Run'}; do
    IFS='|' read -r view root k <<<"$at"
    wine_reg_query "$root\\$cv\\$k" "/reg:$view" | sed -n "s/^    /${at//\\/\\\\}|/; s/    /|/gp" || true
  done | sort
}
before="$(dump)"

start_qelmora "$QEL_EXE"
# Wine lists a key's values alphabetically; the rows from the end: c-all, p-cu, p-lm, then
# the 32-bit view's v-exp, v-gone, v-edit, v-both, then HKCU's t-on, t-off, Wine's own
# RunServices entry and v-back of the 64-bit Run-. Uncheck c-all, p-cu, p-lm, v-exp and
# v-both (32); check t-off and v-back.
key Tab End space Up space Up space Up space Up Up Up space Up Up space Up Up space
# v-gone deleted: five Shift+Tabs from the list reach the delete button, which passes the
# focus on to the next button; four Tabs on is the list again.
key End Up Up Up Up shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
key Tab Tab Tab Tab End Up Up Up Up  # v-edit, whose command line is then typed in Text2
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab End shift+Home
xdotool type --delay 50 'C:\edited.exe'
sleep 0.5
screenshot "$QEL_BUILD/views.png"
key Tab Tab Tab Tab Tab space  # on through the buttons to the confirm button
check "the program ended after confirming" ended
expected="$( { grep -v -e '|v-' -e '|p-' -e '|t-off|' <<<"$before"
  printf '%s\n' '64|HKLM|Run|v-both|REG_SZ|C:\own.exe' '64|HKLM|Run|v-keep|REG_SZ|C:\keep.exe' \
    '64|HKLM|Run|v-back|REG_SZ|C:\back.exe' '32|HKLM|Run-|v-both|REG_SZ|C:\other.exe' \
    '32|HKLM|Run|v-edit|REG_SZ|C:\edited.exe' '32|HKLM|RunOnce-|v-exp|REG_EXPAND_SZ|%windir%\exp.exe'
  for view in 32 64; do  # HKCU, and the policy keys, are one key in both views
    printf '%s\n' "$view|HKLM|Policies\\Explorer\\Run-|p-lm|REG_SZ|C:\\p-lm.exe" \
      "$view|HKCU|Run|t-off|REG_SZ|C:\\t-off.exe" \
      "$view|HKCU|Explorer\\StartupApproved\\Run|t-off|REG_BINARY|020000000102030405060708" \
      "$view|HKCU|Policies\\Explorer\\Run-|p-cu|REG_SZ|C:\\p-cu.exe"
  done
} | sort)"
check "each row changed only in its own place and view, types and Task Manager's time stamp \
kept, nothing else touched" diff <(dump) <(echo "$expected")
check "the All Users Startup file is hidden" wine_hidden "$common/c-all.lnk"
exit $fail
