#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quiet when all are there.
set -euo pipefail

packages=(
  wine wine64 wine64-tools xvfb xauth cmake ninja-build g++ pkg-config locales
  libsqlite3-dev sqlite3 libjpeg62-turbo-dev libxlsxwriter-dev zlib1g-dev libgtest-dev libbenchmark-dev
  cups printer-driver-cups-pdf poppler-utils
  fonts-wine fonts-liberation
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its code page from the locale: fr_FR gives 1252, as the program expects.
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" sed -i 's/^# *fr_FR.UTF-8 UTF-8/fr_FR.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
