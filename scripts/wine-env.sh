#!/usr/bin/env bash
# Prepares and stops the project's Wine prefixes.
#   wine-env.sh prepare-tests PREFIX   create the prefix once, with the tests' virtual desktop,
#                                      and start its persistent wine server
#   wine-env.sh prepare-run PREFIX     create the prefix once, for running the program
#   wine-env.sh stop PREFIX            stop the prefix's wine server
# A prefix made by an older version of this script is brought up to date in place (its drive C,
# the operator's settings among it, is kept).
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

# The version of what settle_prefix puts in a prefix: raise it whenever that changes. A prefix
# records the version it was settled with (with its kind) in .velbor-ready.
prefix_version=2

# Wine's own fonts (package fonts-wine). This Wine looks for them in a wrong folder, so without a
# copy in the prefix "MS Sans Serif" and the system font fall back to an anti-aliased system face
# and every text measure of the forms changes.
wine_fonts=/usr/share/wine/fonts

# Everything the program and the tests see of the prefix beyond Wine's defaults, pinned: the fonts,
# what stands for the shell dialog faces, no font smoothing, 96 dots per inch, and for the tests
# a virtual desktop (focus and activation behave as on Windows without a window manager).
settle_prefix() {
  local kind=$1
  if [ ! -f "$wine_fonts/sserife.fon" ]; then
    echo "wine-env.sh: Wine's fonts are missing from $wine_fonts (scripts/install-deps.sh installs fonts-wine)" >&2
    return 1
  fi
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -p "$wine_fonts"/* "$fonts"/
  local settings
  settings=$(mktemp --suffix=.reg)
  cat >"$settings" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="Tahoma"
"MS Shell Dlg 2"="Tahoma"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"FontSmoothing"="0"
"FontSmoothingType"=dword:00000001
"FontSmoothingOrientation"=dword:00000001
"LogPixels"=dword:00000060

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts]
"LogPixels"=dword:00000060
REG
  if [ "$kind" = desktop ]; then
    cat >>"$settings" <<'REG'

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x1024"
REG
  fi
  wine regedit /S "$(winepath -w "$settings")" >/dev/null 2>&1
  rm -f "$settings"
}

prepare_prefix() {
  local kind=${1:-plain}
  local stamp="$prefix_version $kind"
  # Serialised: several builds may share a prefix directory.
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.velbor-ready" ]; then
    # Never made, or left half made: from scratch.
    [ -d "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    wineserver -w
  fi
  if [ "$(cat "$WINEPREFIX/.velbor-ready" 2>/dev/null)" != "$stamp" ]; then
    # A server left running by an interrupted run would keep the waits below from ending.
    wineserver -k >/dev/null 2>&1 || true
    settle_prefix "$kind"
    # Written to disk by the server before anyone relies on the stamp.
    wineserver -w
    echo "$stamp" >"$WINEPREFIX/.velbor-ready"
  fi
  flock -u 9
}

case "$command" in
  prepare-tests)
    prepare_prefix desktop
    # One server for the whole run; a server already running for the prefix (an earlier run) serves.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    ;;
  prepare-run)
    prepare_prefix
    ;;
  stop)
    [ -d "$WINEPREFIX" ] && wineserver -k >/dev/null 2>&1 || true
    ;;
  *)
    echo "wine-env.sh: unknown command $command" >&2
    exit 2
    ;;
esac
