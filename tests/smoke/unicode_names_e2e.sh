#!/usr/bin/env bash
# Names outside the Chinese code page, end to end: a Korean-named Run value and Startup file
# beside ordinary ones, Qelmora in the Chinese locale operated by keyboard only, and the
# result read back with `wine reg query` and ls.
set -euo pipefail
source "$QEL_ROOT/tools/wine-env.sh"
smoke_prefix unicode
run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# Wine lists a key's values alphabetically: a-plain, b-gone, then the Korean one.
wine_reg_add "$run" /v a-plain /t REG_SZ /d 'C:\plain.exe'
wine_reg_add "$run" /v b-gone /t REG_SZ /d 'C:\gone.exe'
wine_reg_add "$run" /v '한글' /t REG_EXPAND_SZ /d '%windir%\korean.exe'
echo korean >"$startup/한글.lnk"
echo plain >"$startup/plain.lnk"
before="$(wine_reg_query "$run" /v '한글')"

start_qelmora "$QEL_EXE"
# Rows from the end: a-plain, b-gone, the Korean value, the two Startup files
# (in the file system's order); Wine's own entries may come before them.
key Tab End Up Up Up Up space  # from the confirm button to the list; a-plain unchecked
# The Korean value refuses its new mark; try to hide both Startup files: the Korean one refuses.
for keys in "End Up Up space" "End Up space" "End space"; do key $keys; dismiss_box; done
# b-gone deleted: five Shift+Tabs from the list reach the delete button, which
# passes the focus on to the next button; three Tabs on is the confirm button.
key End Up Up Up shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
key Tab Tab Tab space
check "the program ended after confirming" ended
check "the Korean value is byte-identical" test "$(wine_reg_query "$run" /v '한글')" = "$before"
check "no value with '?' was created in Run" test "$(wine_reg_query "$run" | grep -c REG_)" = 1
check "a-plain moved to Run-, alone there, and b-gone was deleted" \
  test "$(wine_reg_query "$run-" | grep REG_)" = '    a-plain    REG_SZ    C:\plain.exe'
check "the Korean Startup file is untouched, not hidden" eval '[[ "$(cat "$startup/한글.lnk")" == korean ]] && ! wine_hidden "$startup/한글.lnk"'
check "the plain Startup file is hidden" wine_hidden "$startup/plain.lnk"
check "ls shows no file with '?' in its name" bash -c "! ls '$startup' | grep -qF '?'"
exit $fail
