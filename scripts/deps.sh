#!/usr/bin/env bash
# Installs the Debian packages Brix needs to build, test and run. Safe to run twice:
# only the packages that are missing are installed.
set -euo pipefail
pkgs=(g++ cmake ninja-build ccache pkg-config qt6-base-dev libsqlite3-dev libgtest-dev libgmock-dev
      libbenchmark-dev libxlsxwriter-dev libssl-dev zlib1g-dev fonts-liberation2 fonts-dejavu-core
      libfreetype-dev libfontconfig-dev libcups2-dev
      # the external checks of the report exports: PDF, barcodes, metafiles
      poppler-utils qpdf zbar-tools emf2svg libwmf-bin)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
