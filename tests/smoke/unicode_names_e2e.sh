#!/usr/bin/env bash
# Names outside the Chinese code page, end to end: a Korean-named Run value and
# Startup file beside ordinary ones, seeded with `wine reg add` and the file
# system, Qelmora in the Chinese locale operated by keyboard only, and the
# result read back with `wine reg query` and ls.
set -euo pipefail
: "${QEL_ROOT:?}" "${QEL_BUILD:?}" "${QEL_EXE:?}"
# shellcheck source=tools/wine-env.sh
source "$QEL_ROOT/tools/wine-env.sh"

prefix="$QEL_BUILD/smoke-prefix-unicode"
rm -rf "$prefix"
QEL_PRIVATE_DISPLAY=1 ensure_display
wine_prefix_init "$prefix"

run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# Wine lists a key's values alphabetically: a-plain, b-gone, then the Korean one.
wine_reg_add "$run" /v a-plain /t REG_SZ /d 'C:\plain.exe'
wine_reg_add "$run" /v b-gone /t REG_SZ /d 'C:\gone.exe'
wine_reg_add "$run" /v '한글' /t REG_EXPAND_SZ /d '%windir%\korean.exe'
wine_reg_add 'HKCU\Software\Policies\Microsoft\Internet Explorer\Control Panel' /v OpenMyHomePage /t REG_DWORD /d 1
startup="$(wine_startup_folder)"
mkdir -p "$startup"
echo korean >"$startup/한글.lnk"
echo plain >"$startup/plain.lnk"
before="$(wine_reg_query "$run" /v '한글')"

fail=0
check() { if "${@:2}"; then echo "ok   - $1"; else echo "FAIL - $1"; fail=1; fi; }  # DESCRIPTION COMMAND...
values_in() { wine_reg_query "$1" | grep -c 'REG_' || true; }
box_shown() { xdotool search --onlyvisible --name '^Qelmora$' >/dev/null 2>&1; }
dismiss_box() {  # OK on a refusal's message box, if one came up, until it is gone (it may lack the focus)
  sleep 1
  for _ in 1 2 3 4 5; do box_shown || return 0; xdotool key Return; sleep 0.7; done
}

start_qelmora "$QEL_EXE"
pid=$QEL_PID
key() { send_keys "$QEL_WINDOW" "$@"; }

# Rows from the end: a-plain, b-gone, the Korean value, the two Startup files
# (in the file system's order); Wine's own entries may come before them.
key Tab End Up Up Up Up space  # from the confirm button to the list; a-plain unchecked
# The Korean value refuses its new mark; try to hide both Startup files: the Korean one refuses.
for keys in "End Up Up space" "End Up space" "End space"; do key $keys; dismiss_box; done
# b-gone deleted: five Shift+Tabs from the list reach the delete button, which
# passes the focus on to the next button; three Tabs on is the confirm button.
key End Up Up Up shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
sleep 0.5
key Tab Tab Tab space
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
check "the program ended after confirming" bash -c "! kill -0 $pid 2>/dev/null"
kill "$pid" 2>/dev/null || true
check "the Korean value is byte-identical" test "$(wine_reg_query "$run" /v '한글')" = "$before"
check "no value with '?' was created in Run" test "$(values_in "$run")" = 1
check "nor in Run-" test "$(values_in "$run-")" = 1
check "a-plain moved to Run-" bash -c "wine reg query '$run-' /v a-plain >/dev/null 2>&1"
check "b-gone was deleted" bash -c "! wine reg query '$run' /v b-gone >/dev/null 2>&1 && ! wine reg query '$run-' /v b-gone >/dev/null 2>&1"
check "the Korean Startup file is untouched" bash -c "[ \"\$(cat '$startup/한글.lnk')\" = korean ] && ! wine attrib '$(winepath -w "$startup/한글.lnk")' | cut -c1-12 | grep -q H"
check "the plain Startup file is hidden" bash -c "wine attrib '$(winepath -w "$startup/plain.lnk")' | cut -c1-12 | grep -q H"
check "ls shows no file with '?' in its name" bash -c "! ls '$startup' | grep -qF '?'"

wine_stop "$prefix"
exit $fail
