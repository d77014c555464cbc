#!/usr/bin/env bash
# Builds the Linux updater and runs it on a sample game install laid out
# afresh in scratch/sample. Answer its questions in the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v cmake >/dev/null || ! command -v ninja >/dev/null || ! dpkg -s libgtest-dev >/dev/null 2>&1; then
  scripts/setup.sh
fi
echo "Building the Linux updater (the first time takes a minute)..."
cmake --preset linux >/dev/null
cmake --build --preset linux --target updater >/dev/null

scripts/sample_install.sh scratch/sample build/linux/updater
sample=$(cd scratch/sample && pwd)
cat <<TEXT
A sample install of the game lies in $sample:
  appdata/BELVORANT/lumireth.ini  the installer's settings (installed in game/)
  game/                           the game, with an older patch.pac and Setup.dat
  update/                         the updater and the new patch.pac and data.pac
Answer "yes" to the first question and "run" in the dialog to apply the update.
TEXT
APPDATA="$sample/appdata" "$sample/update/updater" && status=0 || status=$?
echo
echo "updater exited with $status. The game folder now holds:"
ls -l "$sample/game"
echo "and its Setup.dat reads:"
cat "$sample/game/Setup.dat" | tr -d '\r'
