#!/usr/bin/env bash
# Builds the Linux updater and runs it on a sample game install laid out in
# scratch/sample. Answer its questions in the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v cmake >/dev/null || ! dpkg -s libgtest-dev >/dev/null 2>&1; then scripts/setup.sh; fi
cmake --preset linux >/dev/null
cmake --build --preset linux --target updater >/dev/null

scripts/sample_install.sh scratch/sample build/linux/updater
sample=$(cd scratch/sample && pwd)
echo "Sample install in $sample"
APPDATA="$sample/appdata" "$sample/update/updater" && status=0 || status=$?
echo "updater exited with $status"
