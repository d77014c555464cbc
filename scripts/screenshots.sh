#!/usr/bin/env bash
# Takes the README's pictures of update.exe under Wine (the save-data
# question, the folder browser and the confirmation dialog) into
# docs/screenshots/. Needs what scripts/setup.sh installs for the Wine suite.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
bash tests/wine/run.sh --shots docs/screenshots build/windows
