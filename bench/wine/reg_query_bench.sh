#!/usr/bin/env bash
# Beside the scan's figure: how long `wine reg query` takes to list the same
# twenty keys holding the same 10,000 values.
set -euo pipefail
: "${QEL_ROOT:?}" "${QEL_BUILD:?}"
bench_exe="$QEL_BUILD/bench/startup_win32_bench.exe"
"$QEL_ROOT/tools/wine-run" "$bench_exe" seed
# shellcheck source=tools/wine-env.sh
source "$QEL_ROOT/tools/wine-env.sh"
wine_env "${QEL_WINEPREFIX:-$QEL_BUILD_ROOT/wineprefix-test}"

keys=()
for family in Run RunServices RunOnce RunServicesOnce RunOnceEx; do
  for root in HKLM HKCU; do
    keys+=("$root\\Software\\Microsoft\\Windows\\CurrentVersion\\$family" \
           "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\$family-")
  done
done
start=$(date +%s%N)
lines=0
for key in "${keys[@]}"; do
  n=$(wine reg query "$key" 2>/dev/null </dev/null | grep -c REG_ || true)
  lines=$((lines + n))
done
ms=$(( ($(date +%s%N) - start) / 1000000 ))
printf 'reg query wine   the same 20 keys: %d values in %d ms (20 wine reg query runs)\n' "$lines" "$ms"
"$QEL_ROOT/tools/wine-run" "$bench_exe" clear
