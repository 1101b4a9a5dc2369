#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: packages
# already present are not touched, and nothing is fetched when all are there.
set -euo pipefail

PACKAGES=(cmake g++ pkg-config libgtest-dev libbenchmark-dev libcli11-dev libicu-dev libsqlcipher-dev sqlcipher clang-14 libclang-rt-14-dev libcpp-httplib-dev
  libgtk-3-dev libwebkit2gtk-4.1-dev fonts-liberation xvfb xdotool)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
