#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev g++-mingw-w64-i686)
# update.exe's icon is rendered by a Python script at build time.
packages+=(python3)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The suite of update.exe under Wine: 32-bit Wine, a virtual X display, and a
# Japanese font so that the pictures it takes are legible. Where these
# cannot be installed that suite is skipped, so a failure here is not fatal.
wine_packages=(wine wine32:i386 xvfb fonts-ipafont-gothic)
missing=()
for p in "${wine_packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing for the Wine suite: ${missing[*]}"
  if ! { dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386; } ||
    ! apt-get update -qq ||
    ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null; then
    echo "Wine could not be installed; the Wine suite will be skipped"
  fi
fi
