#!/usr/bin/env bash
# Builds update.exe once more, from the same sources into a fresh folder,
# and checks that it has the same bytes as the given build: the link writes
# no time stamp and nothing of the build folder reaches the program.
#   reproducible_build.sh SOURCE_DIR UPDATE_EXE
set -euo pipefail
source_dir=$1
first=$2

if [ ! -f "$first" ]; then
  echo "FAIL: no $first; build it first: cmake --preset windows && cmake --build --preset windows" >&2
  exit 1
fi

second=$(mktemp -d "${TMPDIR:-/tmp}/update-exe-again.XXXXXX")
trap 'rm -rf "$second"' EXIT
cd "$source_dir"
cmake --preset windows -B "$second" >/dev/null
cmake --build "$second" >/dev/null

if cmp "$first" "$second/update.exe"; then
  echo "update.exe built twice: identical, $(stat -c %s "$first") bytes"
else
  echo "FAIL: a second build of update.exe differs from $first" >&2
  echo "(when the sources changed since, rebuild the windows preset first)" >&2
  exit 1
fi
