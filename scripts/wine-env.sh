#!/usr/bin/env bash
# Prepares and stops the project's Wine prefixes.
#   wine-env.sh prepare-tests PREFIX   create the prefix once, with the tests' virtual desktop,
#                                      and start its persistent wine server
#   wine-env.sh prepare-run PREFIX     create the prefix once, for running the program
#   wine-env.sh stop PREFIX            stop the prefix's wine server
# Sourced, it only exports the environment every wine call runs with.
export WINEDEBUG=-all
export LANG=fr_FR.UTF-8
export LC_ALL=fr_FR.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="

[[ "${BASH_SOURCE[0]}" != "$0" ]] && return 0
set -euo pipefail
trap 'echo "wine-env.sh: \"$BASH_COMMAND\" failed (line $LINENO)" >&2' ERR

command=${1:?command}
export WINEPREFIX=${2:?prefix}
mkdir -p "$(dirname "$WINEPREFIX")"

create_prefix() {
  # Serialised: several builds may share a prefix directory.
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.velbor-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    wineserver -w
    if [ "${1:-}" = desktop ]; then
      # A virtual desktop: focus and activation behave as on Windows without a window manager.
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
      wineserver -w
    fi
    touch "$WINEPREFIX/.velbor-ready"
  fi
  flock -u 9
}

case "$command" in
  prepare-tests)
    create_prefix desktop
    # One server for the whole run; a server already running for the prefix (an earlier run) serves.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    ;;
  prepare-run)
    create_prefix
    ;;
  stop)
    [ -d "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1 || true
    ;;
  *)
    echo "wine-env.sh: unknown command $command" >&2
    exit 2
    ;;
esac
