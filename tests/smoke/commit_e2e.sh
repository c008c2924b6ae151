#!/usr/bin/env bash
# The real program end to end: a registry and Startup folder seeded with `wine reg add` (not
# with our code), Qelmora operated by keyboard only (toggle marks, confirm), and the result
# read back with `wine reg query` and from the files. Then the backup: a second run deletes a
# REG_EXPAND_SZ row and a Startup file, whose backup regedit imports.
set -euo pipefail
source "$QEL_ROOT/tools/wine-env.sh"
smoke_prefix commit
lm='HKLM\Software\Microsoft\Windows\CurrentVersion'
cu='HKCU\Software\Microsoft\Windows\CurrentVersion'
long_data="C:\\$(printf 'x%.0s' $(seq 290)).exe"
wine_reg_add "$lm\\Run" /v a-toggle /t REG_SZ /d 'C:\toggle.exe /t'
wine_reg_add "$lm\\Run" /v m-multi /t REG_MULTI_SZ /d 'one\0two'
wine_reg_add "$lm\\Run" /v z-long /t REG_SZ /d "$long_data"
wine_reg_add "$lm\\Run-" /v off /t REG_SZ /d 'C:\off.exe'
# The same name enabled and disabled: both marks are toggled, so they trade places.
wine_reg_add "$lm\\Run" /v Foo /t REG_SZ /d 'C:\foo-on.exe'
wine_reg_add "$lm\\Run-" /v Foo /t REG_EXPAND_SZ /d '%windir%\foo-off.exe'
wine_reg_add "$cu\\Run" /v '演示' /t REG_SZ /d 'C:\演示\程序.exe'
printf 'plain\0\x80\r\n' >"$startup/plain.lnk"
echo shortcut >"$startup/hidden.lnk"
wine_set_hidden "$startup/hidden.lnk"
holds() {  # holds KEY NAME|TYPE|DATA...: the key's values are exactly these
  diff <(wine_reg_query "$1" | sed -n 's/^    //; s/    /|/gp' | sort) <(printf '%s\n' "${@:2}" | sort)
}

# The program runs from a folder of its own, where it writes backup\.
dir="$prefix/drive_c/qel"
mkdir -p "$dir" && cp "$QEL_EXE" "$dir/"
start_qelmora "$dir/Qelmora.exe"
# Tab takes the focus from the confirm button to the list. Wine lists a key's values
# alphabetically: a-toggle, Foo, z-long in Run, then Foo, off in Run-. Clear the first row's
# mark and toggle both Foo rows; Shift+Tab is the confirm button again.
key Tab Home space Down space Down Down space
key shift+Tab space
check "the program ended after confirming" ended
check "Run: the unchecked entry and the enabled Foo left, the disabled Foo came back still \
expandable, the long and the REG_MULTI_SZ values kept" holds "$lm\\Run" \
  'Foo|REG_EXPAND_SZ|%windir%\foo-off.exe' 'm-multi|REG_MULTI_SZ|one\0two' "z-long|REG_SZ|$long_data"
check "Run-: they arrived, no spare copy, the disabled entry stayed" holds "$lm\\Run-" \
  'a-toggle|REG_SZ|C:\toggle.exe /t' 'Foo|REG_SZ|C:\foo-on.exe' 'off|REG_SZ|C:\off.exe'
check "Chinese bytes kept" holds "$cu\\Run" '演示|REG_SZ|C:\演示\程序.exe'
check "the hidden Startup file stayed hidden" wine_hidden "$startup/hidden.lnk"
newest_backup() { ls -d "$dir"/backup/2*/ | tail -1; }

# Run 2: delete the first row (a REG_EXPAND_SZ value) and the last (a Startup file). A disabled
# delete button hands the focus on to "进程", three Tabs before the confirm button.
wine_reg_add "$lm\\Run" /v 0-gone /t REG_EXPAND_SZ /d '%windir%\gone.exe'
before="$(mktemp -d)" && cp -a "$startup/." "$before/"
start_qelmora "$dir/Qelmora.exe"
key Tab Home shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
key Tab Tab Tab Tab End shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
key Tab Tab Tab space
check "the second confirm ended the program" ended
gone="$(cd "$before" && for f in *; do [[ -e "$startup/$f" ]] || echo "$f"; done)"
check "a Startup file ($gone) was deleted and its backup is byte-identical" cmp "$before/$gone" "$(newest_backup)$gone"
check "the REG_EXPAND_SZ value is gone" eval "! wine reg query '$lm\\Run' /v 0-gone >/dev/null 2>&1"
wine regedit /s "$(winepath -w "$(newest_backup)registry.reg" 2>/dev/null)"
check "regedit brings it back from the backup with its type and data" eval \
  "wine_reg_query '$lm\\Run' /v 0-gone | grep -qxF '    0-gone    REG_EXPAND_SZ    %windir%\\gone.exe'"

exit $fail
