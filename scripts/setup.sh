#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

# Prints those of the named packages that are not installed.
missing_of() {
  local p
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || printf '%s ' "$p"
  done
}

# The builds and the tests; update.exe's icon is rendered by a Python script.
missing=$(missing_of cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev g++-mingw-w64-i686 python3)
if [ -n "$missing" ]; then
  echo "Installing: $missing"
  apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
fi

# The suite of update.exe under Wine: 32-bit Wine, a virtual X display, and a
# Japanese font so that the pictures it takes are legible. Where these
# cannot be installed that suite is skipped, so a failure here is not fatal.
missing=$(missing_of wine wine32:i386 xvfb fonts-ipafont-gothic)
if [ -n "$missing" ]; then
  echo "Installing for the Wine suite: $missing"
  # shellcheck disable=SC2086
  if ! { dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386; } ||
    ! apt-get update -qq ||
    ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null; then
    echo "Wine could not be installed; the Wine suite will be skipped"
  fi
fi
