#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, skipping those present.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-image-formats-plugins
  libsqlite3-dev libsodium-dev
  libxlsxwriter-dev   # real .xlsx workbooks for "导出Excel…" without a hand-written ZIP/XML writer
  libzip-dev          # reading .xlsx staff lists (the ZIP container; Qt's XML reader does the rest)
  libfreexl-dev       # reading old .xls staff lists without a hand-written BIFF reader
  zlib1g-dev          # libxlsxwriter's pkg-config links -lz, which its -dev package does not pull in
  fonts-noto-cjk
  qt6-translations-l10n   # qtbase_zh_CN: Qt's own dialogs and buttons in Chinese
  poppler-utils   # pdftotext: tests read printed reports back
  mount           # the full-disk faults mount a small tmpfs
  strace          # the crash trials kill writers at chosen system calls
  python3-openpyxl   # tests read exported workbooks back with an independent reader
  python3-xlwt       # tests write an old .xls staff list with an independent writer
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
