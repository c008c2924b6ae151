#!/usr/bin/env bash
# Both registry views of a 64-bit Windows, end to end: values seeded in each view with
# `wine reg add /reg:32` and `/reg:64` (the x86_64 program's other view is the 32-bit one),
# Qelmora operated by keyboard, and every Run-family key of both views compared, whole,
# before and after the confirm.
set -euo pipefail
source "$QEL_ROOT/tools/wine-env.sh"
smoke_prefix views
cv='HKLM\Software\Microsoft\Windows\CurrentVersion'
add() { wine_reg_add "$cv\\$1" /v "$2" /t "${4:-REG_SZ}" /d "$3" "/reg:$5"; }
add Run v-both 'C:\own.exe' '' 64
add Run v-keep 'C:\keep.exe' '' 64
add Run- v-back 'C:\back.exe' '' 64
add Run v-both 'C:\other.exe' '' 32  # the same name in the other view: a row of its own
add Run v-edit 'C:\edit.exe' '' 32
add Run v-gone 'C:\gone.exe' '' 32
add RunOnce v-exp '%windir%\exp.exe' REG_EXPAND_SZ 32
dump() {  # every value of the managed HKLM keys of both views: view|key|name|type|data
  for view in 32 64; do
    for key in Run RunServices RunOnce RunServicesOnce RunOnceEx; do
      for k in "$key" "$key-"; do
        wine_reg_query "$cv\\$k" "/reg:$view" | sed -n "s/^    /$view|$k|/; s/    /|/gp" || true
      done
    done
  done | sort
}
before="$(dump)"

start_qelmora "$QEL_EXE"
# Wine lists a key's values alphabetically, the own view's keys first; from the end:
# v-exp, v-gone, v-edit, v-both of the 32-bit view, then Wine's own RunServices entry and
# v-back of the 64-bit Run-.
key Tab End space Up Up Up space Up Up space  # uncheck v-exp and v-both (32), check v-back
# v-gone deleted: five Shift+Tabs from the list reach the delete button, which passes the
# focus on to the next button; four Tabs on is the list again.
key End Up shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
key Tab Tab Tab Tab End Up  # v-edit, whose command line is then typed in Text2
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab End shift+Home
xdotool type --delay 50 'C:\edited.exe'
sleep 0.5
screenshot "$QEL_BUILD/views.png"
key Tab Tab Tab Tab Tab space  # on through the buttons to the confirm button
check "the program ended after confirming" ended
expected="$( { grep -v '|v-' <<<"$before"
  printf '%s\n' '64|Run|v-both|REG_SZ|C:\own.exe' '64|Run|v-keep|REG_SZ|C:\keep.exe' \
    '64|Run|v-back|REG_SZ|C:\back.exe' '32|Run-|v-both|REG_SZ|C:\other.exe' \
    '32|Run|v-edit|REG_SZ|C:\edited.exe' '32|RunOnce-|v-exp|REG_EXPAND_SZ|%windir%\exp.exe'
} | sort)"
check "each row changed only in its own view, types kept, nothing else touched" \
  diff <(dump) <(echo "$expected")
check "the screenshot was written" test -s "$QEL_BUILD/views.png"
exit $fail
