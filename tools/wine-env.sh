# shellcheck shell=bash
# Wine and display helpers, sourced by tools/wine-run, tools/run-demo and tests/smoke/*.sh.
#
#   source "$QEL_ROOT/tools/wine-env.sh"
#
# Nothing here touches ~/.wine: every function works on the prefix last given to wine_env or
# wine_prefix_init (an absolute folder, normally under build/).
#
#   close_inherited_fds      close every descriptor above 2 in this shell. Xvfb, the
#                            wineserver and Wine's desktop process outlive their starter; a pipe
#                            they inherit (ninja's, ctest's) stays open and its reader waits.
#                            Call it before starting Wine from a build tool.
#   wine_env PREFIX          export WINEPREFIX=PREFIX, WINEDEBUG=-all, the Chinese locale
#                            (LANG=LC_ALL=zh_CN.UTF-8, so GetACP() is 936) and DLL overrides
#                            that keep the Mono/Gecko installers away.
#   wine_prefix_init PREFIX  wine_env, then start a lingering wineserver for it and create the
#                            prefix with `wineboot -i` when it is new. Safe to call concurrently.
#   wine_stop [PREFIX]       end the wineserver (and every Wine process) of PREFIX.
#   wine_virtual_desktop WxH run every window inside one Wine desktop window of that size
#                            (no window-manager waits; xdotool then sees only that window).
#   ensure_display           keep a reachable $DISPLAY; otherwise reuse or start the project's
#                            Xvfb (1024x768x24) and export its DISPLAY. With
#                            QEL_PRIVATE_DISPLAY=1 the project's Xvfb is used even when a desktop
#                            is reachable.
#   stop_display             end the project's Xvfb, if one runs.
#   wine_reg_add ARGS...     `wine reg add ARGS... /f`, quiet unless it fails.
#   wine_reg_delete ARGS...  `wine reg delete ARGS... /f`, quiet; fails when nothing was deleted.
#   wine_reg_query ARGS...   `wine reg query ARGS...`, printed as UTF-8 with LF line ends.
#   wine_reg_import FILE     import a .reg file written in UTF-8 (converted to UTF-16LE + BOM,
#                            the form regedit reads without guessing a code page).
#   wine_unix_path WINPATH   the unix path of a Windows path.
#   wine_startup_folder      the unix path of the current user's Startup folder (Shell Folders).
#   wine_set_hidden UNIXPATH give a file the hidden attribute (attrib +h).
#   wine_hidden UNIXPATH     whether a file has the hidden attribute.
#   wait_window SECONDS ARGS...  wait up to SECONDS for a visible window matching
#                            `xdotool search ARGS...` (e.g. --class '^qelmora\.exe$': Wine
#                            names the class after the program); prints the first id, or fails.
#   window_gone SECONDS ARGS...  wait up to SECONDS until no window matches `xdotool search ARGS...`.
#   screenshot FILE          save the whole screen as a PNG.
#   start_qelmora EXE        start EXE under Wine in the background and wait for its window;
#                            sets QEL_PID and QEL_WINDOW, fails when no window appears.
#   send_keys WINDOW KEYS... focus WINDOW and type KEYS (xdotool key names).
#   smoke_prefix NAME        (tests/smoke) a fresh prefix $QEL_BUILD/smoke-prefix-NAME on the
#                            project's Xvfb, Wine drawing the captions, the first-run home-page
#                            question answered; sets prefix, startup (the Startup folder, made),
#                            system32 (the unix path of the system folder) and fail=0 for check;
#                            the prefix's Wine processes are ended when the script exits, so that
#                            no window is left to a later script.
#   check TEXT COMMAND...    print ok/FAIL TEXT as COMMAND succeeds; a failure sets fail=1.
#   key KEYS...              send_keys to the program's main window.
#   ended                    the program's process is gone within 10 s (killed otherwise).
#   dismiss_box [SECONDS]    if the program's message box (titled Qelmora) comes up within
#                            SECONDS (default 1), press Enter until it is gone (it may lack the
#                            focus at first).
#
# QEL_ROOT (the source tree) and QEL_BUILD_ROOT (default $QEL_ROOT/build) may be set beforehand.

QEL_ROOT="${QEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
QEL_BUILD_ROOT="${QEL_BUILD_ROOT:-$QEL_ROOT/build}"
# How long an idle wineserver stays up: long enough to carry one test run to the next.
QEL_WINESERVER_LINGER="${QEL_WINESERVER_LINGER:-300}"

close_inherited_fds() {
  local fd
  for fd in /proc/"$BASHPID"/fd/*; do
    fd="${fd##*/}"
    # 255 is where bash keeps the script it is reading.
    if ((fd > 2 && fd < 255)); then eval "exec $fd>&-" 2>/dev/null || true; fi
  done
}

wine_env() {
  local prefix="$1"
  [[ -n "$prefix" ]] || { echo "wine_env: no prefix given" >&2; return 1; }
  mkdir -p "$prefix"
  export WINEPREFIX
  WINEPREFIX="$(cd "$prefix" && pwd)"
  export WINEARCH=win64 WINEDEBUG=-all
  export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

wine_prefix_init() {
  wine_env "$1" || return 1
  (close_inherited_fds && exec wineserver -p"$QEL_WINESERVER_LINGER") </dev/null >/dev/null 2>&1 ||
    true
  [[ -e "$WINEPREFIX/.qel-ready" ]] && return 0
  (
    flock 9
    if [[ ! -e "$WINEPREFIX/.qel-ready" ]]; then
      echo "wine-env: creating Wine prefix $WINEPREFIX" >&2
      if ! (close_inherited_fds && exec wineboot -i) </dev/null >/dev/null 2>&1; then
        echo "wine-env: wineboot -i failed" >&2
        exit 1
      fi
      touch "$WINEPREFIX/.qel-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

wine_stop() {
  local prefix="${1:-$WINEPREFIX}"
  [[ -d "$prefix" ]] || return 0
  (
    export WINEPREFIX
    WINEPREFIX="$(cd "$prefix" && pwd)"
    wineserver -k </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
  ) || true
}

wine_virtual_desktop() {
  wine_reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default &&
    wine_reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "$1"
}

_display_alive() {
  [[ -n "$1" ]] && xdpyinfo -display "$1" >/dev/null 2>&1
}

ensure_display() {
  if [[ "${QEL_PRIVATE_DISPLAY:-0}" != 1 ]] && _display_alive "${DISPLAY:-}"; then
    return 0
  fi
  mkdir -p "$QEL_BUILD_ROOT"
  local state="$QEL_BUILD_ROOT/xvfb"
  DISPLAY="$(
    exec 9>"$state.lock"
    flock 9
    if [[ -f "$state.display" ]] && _display_alive "$(cat "$state.display")"; then
      cat "$state.display"
      exit 0
    fi
    rm -f "$state.display" "$state.pid" "$state.fd"
    # -displayfd picks a free display number and reports it once the server accepts clients.
    # The server is shared by later calls: setsid keeps it out of the caller's process group.
    (
      close_inherited_fds
      exec 3>"$state.fd"
      exec setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp
    ) </dev/null >/dev/null 2>&1 &
    echo $! >"$state.pid"
    for _ in $(seq 100); do
      [[ -s "$state.fd" ]] && break
      sleep 0.1
    done
    [[ -s "$state.fd" ]] || { echo "wine-env: Xvfb did not start" >&2; exit 1; }
    echo ":$(head -n1 "$state.fd")" | tee "$state.display"
  )" || return 1
  export DISPLAY
}

stop_display() {
  local state="$QEL_BUILD_ROOT/xvfb"
  [[ -f "$state.pid" ]] || return 0
  local pid
  pid="$(cat "$state.pid")"
  if [[ "$(cat "/proc/$pid/comm" 2>/dev/null)" == Xvfb ]]; then
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$state.pid" "$state.display" "$state.fd"
}

wine_reg_add() {
  local out
  out="$(wine reg add "$@" /f 2>&1)" || { echo "wine reg add $*: $(_from_gbk <<<"$out")" >&2; return 1; }
}

wine_reg_delete() {
  wine reg delete "$@" /f </dev/null >/dev/null 2>&1
}

# Wine's console programs write the ANSI code page (GBK here) with CR LF.
_from_gbk() {
  iconv -f GBK -t UTF-8 | tr -d '\r'
}

wine_reg_query() {
  wine reg query "$@" 2>/dev/null </dev/null | _from_gbk
  return "${PIPESTATUS[0]}"
}

wine_reg_import() {
  local file="$1" converted
  converted="$(mktemp --suffix=.reg)"
  { printf '\xff\xfe'; sed 's/\r*$/\r/' "$file" | iconv -f UTF-8 -t UTF-16LE; } >"$converted"
  wine regedit /S "$(winepath -w "$converted" 2>/dev/null)" </dev/null >/dev/null 2>&1
  local status=$?
  rm -f "$converted"
  return $status
}

wine_unix_path() {
  winepath -u "$1" 2>/dev/null </dev/null
}

wine_startup_folder() {
  local line winpath
  line="$(wine_reg_query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' \
    /v Startup | grep -i 'REG_SZ')" || return 1
  winpath="${line#*REG_SZ}"
  winpath="${winpath#"${winpath%%[![:space:]]*}"}"
  [[ -n "$winpath" ]] || return 1
  wine_unix_path "$winpath"
}

wine_set_hidden() {
  local winpath
  winpath="$(winepath -w "$1" 2>/dev/null)" || return 1
  wine attrib +h "$winpath" </dev/null >/dev/null 2>&1
  # Wine keeps the attribute in an extended attribute; some file systems drop it silently.
  local shown
  shown="$(wine attrib "$winpath" </dev/null 2>/dev/null)"
  if [[ "${shown:0:12}" != *H* ]]; then
    echo "wine_set_hidden: $1 did not keep the hidden attribute" >&2
    return 1
  fi
}

wine_hidden() {
  # Asked up to three times: a `wine attrib` started while the program's Wine winds down can
  # print nothing.
  local winpath
  winpath="$(winepath -w "$1" 2>/dev/null)" || return 1
  for _ in 1 2 3; do
    wine attrib "$winpath" </dev/null 2>/dev/null | cut -c1-12 | grep -q H && return 0
    sleep 1
  done
  return 1
}

wait_window() {
  local seconds="$1" ids
  shift
  ids="$(timeout "$seconds" xdotool search --sync --onlyvisible "$@" 2>/dev/null)" || return 1
  echo "${ids%%$'\n'*}"
}

window_gone() {
  local seconds="$1"
  shift
  for _ in $(seq "$((seconds * 10))"); do
    xdotool search "$@" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

screenshot() {
  import -window root "$1"
}

start_qelmora() {
  wine "$1" </dev/null >/dev/null 2>&1 &
  QEL_PID=$!
  QEL_WINDOW="$(wait_window 60 --class '^qelmora\.exe$')" || true
  if [[ -z "$QEL_WINDOW" ]]; then
    echo "FAIL - no Qelmora window appeared" >&2
    kill "$QEL_PID" 2>/dev/null || true
    return 1
  fi
  sleep 1  # let the lists fill and paint
}

send_keys() {
  local window="$1"
  shift
  xdotool windowfocus --sync "$window" key --delay 100 "$@"
}

smoke_prefix() {
  prefix="$QEL_BUILD/smoke-prefix-$1"
  fail=0
  trap 'wine_stop "$prefix"' EXIT
  # A script stopped by set -e says where, instead of failing without a word.
  trap 'echo "FAIL - stopped at line $LINENO: $BASH_COMMAND" >&2' ERR
  rm -rf "$prefix"
  QEL_PRIVATE_DISPLAY=1 ensure_display
  wine_prefix_init "$prefix"
  wine_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
  wine_reg_add 'HKCU\Software\Policies\Microsoft\Internet Explorer\Control Panel' \
    /v OpenMyHomePage /t REG_DWORD /d 1
  # A fresh prefix may name its Startup folder a moment after wineboot returns.
  for _ in $(seq 20); do startup="$(wine_startup_folder)" && break || sleep 0.5; done
  [[ -n "$startup" ]] || { echo "FAIL - the prefix names no Startup folder" >&2; exit 1; }
  mkdir -p "$startup"
  system32="$prefix/drive_c/windows/system32"
}

check() {
  if "${@:2}"; then echo "ok   - $1"; else echo "FAIL - $1"; fail=1; fi
}

key() { send_keys "$QEL_WINDOW" "$@"; }

ended() {
  for _ in $(seq 100); do
    kill -0 "$QEL_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  kill "$QEL_PID" 2>/dev/null
  return 1
}

dismiss_box() {
  wait_window "${1:-1}" --name '^Qelmora$' >/dev/null || return 0
  for _ in 1 2 3 4 5; do
    xdotool key Return
    sleep 0.7
    xdotool search --onlyvisible --name '^Qelmora$' >/dev/null 2>&1 || return 0
  done
}
