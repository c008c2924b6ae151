#!/usr/bin/env bash
# The process monitor end to end, keyboard only: from the main window open
# "进程", pick the first process (its note shows: screenshot
# $QEL_BUILD/form5.png), save the process list, close with Esc; then the two
# files hold what the system listed, byte for byte.
set -euo pipefail
: "${QEL_ROOT:?}" "${QEL_BUILD:?}" "${QEL_EXE:?}"
# shellcheck source=tools/wine-env.sh
source "$QEL_ROOT/tools/wine-env.sh"

prefix="$QEL_BUILD/smoke-prefix-form5"
rm -rf "$prefix"
QEL_PRIVATE_DISPLAY=1 ensure_display
wine_prefix_init "$prefix"
wine_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
wine_reg_add 'HKCU\Software\Policies\Microsoft\Internet Explorer\Control Panel' \
  /v OpenMyHomePage /t REG_DWORD /d 1
# The program with a small notes file beside it, in the notes' block format.
folder="$prefix/drive_c/Qelmora"
mkdir -p "$folder"
cp "$QEL_EXE" "$folder/Qelmora.exe"
for name in services.exe winedevice.exe plugplay.exe explorer.exe svchost.exe rpcss.exe; do
  printf '%s\n系统服务进程，由 Wine 提供\n位置：C:\\windows\\system32\n结束它会使系统不稳定\n\n' "$name"
done | iconv -f UTF-8 -t GBK | sed 's/$/\r/' >"$folder/process.dll"
system32="$prefix/drive_c/windows/system32"

fail=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok   - $1"; else echo "FAIL - $1"; fail=1; fi
}

start_qelmora "$folder/Qelmora.exe" || exit 1
pid=$QEL_PID
# Backwards from the confirm button: 网站, 其它, 进程.
send_keys "$QEL_WINDOW" shift+Tab shift+Tab shift+Tab space
form5="$(wait_window 20 --name '^进程$')" || { echo "FAIL - no 进程 window"; kill "$pid"; exit 1; }
sleep 1
# The list view has the focus: Down picks its first row and shows its note.
send_keys "$form5" Down
sleep 1
import -window "$form5" "$QEL_BUILD/form5.png"
echo "screenshot: $QEL_BUILD/form5.png"
# 强行中止 is now enabled: two Tabs reach 保存当前进程.
send_keys "$form5" Tab Tab space
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
send_keys "$QEL_WINDOW" alt+F4
wait "$pid" || true

check "morvane5.txt lists the processes the system listed, byte for byte" \
  cmp -s <(printf '%s\n' "$listed") "$system32/morvane5.txt"
check "morvane4.txt is written, empty: nothing was trusted" test -f "$system32/morvane4.txt" -a ! -s "$system32/morvane4.txt"
[[ $fail == 0 ]] || { echo "--- morvane5.txt"; cat -A "$system32/morvane5.txt"; echo "--- listed"; cat -A <<<"$listed"; }
exit "$fail"
