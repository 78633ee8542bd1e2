#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by the two set-up commands; runs apt-get only when something is absent.
set -euo pipefail

TINTARA_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libx11-dev
  xvfb xauth xdotool imagemagick
  fonts-liberation2 fontconfig
  locales-all
)

tintara_install_missing() {
  local missing=()
  local pkg
  for pkg in "${TINTARA_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}
