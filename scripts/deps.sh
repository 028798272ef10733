#!/usr/bin/env bash
# Installs the Debian packages Keelwright needs to build, run and test,
# and only those that are missing. Safe to run any number of times.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ccache
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libpng-dev zlib1g-dev libfontconfig-dev libstb-dev
  fonts-dejavu-core
  libcli11-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev python3-jsonschema
  xvfb xdotool
  desktop-file-utils appstream
  clang
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "keelwright: installing ${missing[*]}" >&2
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
