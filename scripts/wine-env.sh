#!/usr/bin/env bash
# Prepares and stops the project's Wine prefixes.
#   wine-env.sh prepare-tests PREFIX [TEMPLATE]
#                                      create the prefix once, with the tests' virtual desktop,
#                                      and start its persistent wine server; with TEMPLATE, the
#                                      template is prepared and PREFIX made afresh as its copy
#   wine-env.sh prepare-template TEMPLATE
#                                      create the tests' prefix once, left without a server: what
#                                      the test programs' own prefixes are copied from
#   wine-env.sh clone TEMPLATE PREFIX  PREFIX made afresh as a copy of the prepared TEMPLATE
#   wine-env.sh prepare-run PREFIX     create the prefix once, for running the program
#   wine-env.sh stop PREFIX [FOLDER]   stop the prefix's wine server; with FOLDER, also the
#                                      servers of the prefixes in it and the displays started for
#                                      them (what an interrupted test run left)
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
prefix_version=3

# Wine's own fonts (package fonts-wine). This Wine looks for them in a wrong folder, so without a
# copy in the prefix "MS Sans Serif" and the system font fall back to an anti-aliased system face
# and every text measure of the forms changes.
wine_fonts=/usr/share/wine/fonts

# The faces that stand for "Arial", "Times New Roman" and "Courier New" (package fonts-liberation):
# drawn to the same widths. Wine finds them through the system's font list; without the pin, those
# names fall back to whatever face the machine has (DejaVu Sans here), so the look and the text
# widths of the reports would depend on the machine, and printing would send that face's whole
# glyph set with every page.
pinned_fonts=/usr/share/fonts/truetype/liberation

# Everything the program and the tests see of the prefix beyond Wine's defaults, pinned: the fonts,
# what stands for the shell dialog faces and for the common faces the reports ask for, no font
# smoothing, 96 dots per inch, and for the tests a virtual desktop (focus and activation behave as
# on Windows without a window manager).
settle_prefix() {
  local kind=$1
  if [ ! -f "$wine_fonts/sserife.fon" ]; then
    echo "wine-env.sh: Wine's fonts are missing from $wine_fonts (scripts/install-deps.sh installs fonts-wine)" >&2
    return 1
  fi
  local face
  for face in LiberationSans LiberationSerif LiberationMono; do
    if [ ! -f "$pinned_fonts/$face-Regular.ttf" ]; then
      echo "wine-env.sh: $pinned_fonts/$face-Regular.ttf is missing (scripts/install-deps.sh installs fonts-liberation)" >&2
      return 1
    fi
  done
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
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"

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

# Makes PREFIX afresh as a copy of the prepared TEMPLATE: any server of an earlier PREFIX stopped
# first. The system folders are never written to: their files are linked, not copied.
clone_prefix() {
  local template=$1
  shopt -s nullglob
  if [ ! -f "$template/.velbor-ready" ]; then
    echo "wine-env.sh: $template is not a prepared prefix" >&2
    return 1
  fi
  stop_prefix "$WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  local item
  # Everything but drive C and the server's own name (each prefix gets a name of its own).
  for item in "$template"/* "$template"/.[!.]*; do
    case "$(basename "$item")" in
      drive_c|wineserver) ;;
      *) cp -a "$item" "$WINEPREFIX"/ ;;
    esac
  done
  mkdir -p "$WINEPREFIX/drive_c"
  for item in "$template"/drive_c/*; do
    [ "$(basename "$item")" = windows ] || cp -a "$item" "$WINEPREFIX"/drive_c/
  done
  mkdir -p "$WINEPREFIX/drive_c/windows"
  for item in "$template"/drive_c/windows/*; do
    case "$(basename "$item")" in
      system32|syswow64|winsxs) cp -al "$item" "$WINEPREFIX"/drive_c/windows/ ;;
      *) cp -a "$item" "$WINEPREFIX"/drive_c/windows/ ;;
    esac
  done
}

# Stops the server of a prefix and waits until it is gone.
stop_prefix() {
  [ -d "$1" ] || return 0
  WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$1 wineserver -w >/dev/null 2>&1 || true
}

# Stops the display whose process number a launcher wrote in File, when it is still that display.
stop_display() {
  local pid
  pid=$(cat "$1" 2>/dev/null) || return 0
  if [ -n "$pid" ] && grep -qa Xvfb "/proc/$pid/cmdline" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$1"
}

case "$command" in
  prepare-tests)
    if [ -n "${3:-}" ]; then
      template=$3
      WINEPREFIX=$template "$0" prepare-template "$template"
      clone_prefix "$template"
    else
      prepare_prefix desktop
    fi
    # One server for the whole run; a server already running for the prefix (an earlier run) serves.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    ;;
  prepare-template)
    prepare_prefix desktop
    ;;
  clone)
    template=$WINEPREFIX
    export WINEPREFIX=${3:?prefix}
    exec 9>"$template.lock"
    flock -s 9
    clone_prefix "$template"
    ;;
  prepare-run)
    prepare_prefix
    ;;
  stop)
    stop_prefix "$WINEPREFIX"
    if [ -n "${3:-}" ] && [ -d "$3" ]; then
      for prefix in "$3"/*/; do
        if [ -d "$prefix" ]; then stop_prefix "${prefix%/}"; fi
      done
      for pidfile in "$3"/*.display; do
        if [ -f "$pidfile" ]; then stop_display "$pidfile"; fi
      done
    fi
    ;;
  *)
    echo "wine-env.sh: unknown command $command" >&2
    exit 2
    ;;
esac
