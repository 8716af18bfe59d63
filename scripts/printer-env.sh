#!/usr/bin/env bash
# Makes sure the spooler runs and offers the PDF printer the printing tests print to: starts cupsd
# when it is not running (an already running one serves) and adds the printer "PDF" once.
set -euo pipefail

command -v cupsd >/dev/null || { echo "printer-env.sh: cupsd is not installed" >&2; exit 0; }

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  "${sudo_cmd[@]}" cupsd
  for _ in $(seq 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.1
  done
fi

if ! lpstat -p PDF >/dev/null 2>&1; then
  # lpadmin warns that drivers are deprecated: only that line is dropped.
  "${sudo_cmd[@]}" lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2> >(grep -v deprecated >&2)
fi
mkdir -p "$HOME/PDF"
