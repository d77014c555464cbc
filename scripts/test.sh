#!/usr/bin/env bash
# Sets up what is missing, builds both programs and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux
