#!/usr/bin/env bash
# The real program on a fresh prefix seeded with Chinese entries: a screenshot
# of the main window ($QEL_BUILD/form1.png), then keyboard-only use: Space
# toggles the current List1 row's mark, Tab reaches the cancel button, and
# the cancel button and the close box (Alt+F4) each end the program without
# writing anything.
set -euo pipefail
: "${QEL_ROOT:?}" "${QEL_BUILD:?}" "${QEL_EXE:?}"
# shellcheck source=tools/wine-env.sh
source "$QEL_ROOT/tools/wine-env.sh"

prefix="$QEL_BUILD/smoke-prefix-form1"
rm -rf "$prefix"
QEL_PRIVATE_DISPLAY=1 ensure_display
wine_prefix_init "$prefix"
# Xvfb has no window manager: let Wine draw the frame and caption itself, so
# that the screenshot shows the window's caption too.
wine_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT

cv='Software\Microsoft\Windows\CurrentVersion'
winini='HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows'
wine_reg_add "HKLM\\$cv\\Run" /v '输入法' /t REG_SZ /d 'C:\Program Files\输入法\ime.exe /tray'
wine_reg_add "HKLM\\$cv\\Run-" /v '已停用的更新' /t REG_SZ /d 'C:\更新\update.exe /silent'
wine_reg_add "HKCU\\$cv\\Run" /v '杀毒软件监控' /t REG_SZ /d '"C:\Program Files\杀毒\monitor.exe" -auto'
wine_reg_add "$winini" /v load /t REG_SZ /d 'C:\加载\程序.exe'
wine_reg_add 'HKCU\Software\Policies\Microsoft\Internet Explorer\Control Panel' \
  /v OpenMyHomePage /t REG_DWORD /d 1
startup="$(wine_startup_folder)"
mkdir -p "$startup"
echo shortcut >"$startup/便签.lnk"

# Everything the program could write: the Run family and twins, Win.ini's
# keys, the policies, and the Startup folder's files with their attributes.
machine_state() {
  local root family
  for root in HKLM HKCU; do
    for family in Run RunServices RunOnce RunServicesOnce RunOnceEx; do
      wine_reg_query "$root\\$cv\\$family" 2>/dev/null || true
      wine_reg_query "$root\\$cv\\$family-" 2>/dev/null || true
    done
  done
  wine_reg_query "$winini" 2>/dev/null || true
  wine_reg_query "HKCU\\$cv\\Policies" /s 2>/dev/null || true
  wine_reg_query 'HKCU\Software\Policies' /s 2>/dev/null || true
  wine_reg_query 'HKCU\Software\Microsoft\Internet Explorer\Main' 2>/dev/null || true
  wine attrib "$(winepath -w "$startup" 2>/dev/null)\\*" </dev/null 2>/dev/null | _from_gbk || true
}
before=""

fail=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok   - $1"; else echo "FAIL - $1"; fail=1; fi
}

pid=""
window=""
start_program() {
  # Each run is compared with the machine as it was just before it started.
  before="$(machine_state)"
  start_qelmora "$QEL_EXE" || exit 1
  pid=$QEL_PID
  window=$QEL_WINDOW
}
key() { send_keys "$window" "$@"; }
ended_within() {  # ended_within SECONDS: the program's process is gone
  local _
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; return 0; }
    sleep 0.1
  done
  return 1
}
finish_run() {  # finish_run HOW
  if ended_within 10; then
    check "$1 ends the program" true
  else
    check "$1 ends the program" false
    kill "$pid" 2>/dev/null || true
  fi
  local after
  after="$(machine_state)"
  check "$1 writes nothing" test "$after" == "$before"
  [[ "$after" == "$before" ]] || diff <(echo "$before") <(echo "$after") | head -20 || true
}
differs() { [[ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != 0 ]]; }

# Run 1: screenshot; Tab to List1, Down to its first row, Space toggles the
# mark; three more Tabs (List4, 帮助, 取消) and Space press the cancel button.
start_program
import -window "$window" "$QEL_BUILD/form1.png"
echo "screenshot: $QEL_BUILD/form1.png"
key Tab Down
sleep 0.5
import -window "$window" "$shots/row.png"
key space
sleep 0.5
import -window "$window" "$shots/toggled.png"
check "Space changes the current List1 row's mark" differs "$shots/row.png" "$shots/toggled.png"
key space
sleep 0.5
import -window "$window" "$shots/back.png"
check "a second Space puts the mark back" test "$(compare -metric AE "$shots/row.png" \
  "$shots/back.png" null: 2>&1 || true)" == 0
key space Tab Tab Tab space
finish_run "the cancel button, reached with Tab,"

# Run 2: a changed mark, then the close box (Alt+F4).
start_program
key Tab Down space
sleep 0.5
key alt+F4
finish_run "the close box"

exit "$fail"
