#!/usr/bin/env bash
# Lays out a sample game install in a folder, for the demo and the tests:
#   appdata/BELVORANT/lumireth.ini  the installer's settings, saying installed
#   game/                           the game: its executable, the older
#                                   patch.pac and the installer's Setup.dat
#                                   (data.pac is new with this update)
#   update/                         the updater program and the new files
# Usage: sample_install.sh FOLDER UPDATER_PROGRAM
set -euo pipefail
root=$1
program=$2

rm -rf "$root"
mkdir -p "$root/appdata/BELVORANT" "$root/game" "$root/update"
root=$(cd "$root" && pwd)

printf '[INSTALL]\r\nIsInstall=1\r\nInstallFold=%s\r\n' "$root/game" >"$root/appdata/BELVORANT/lumireth.ini"

printf 'MZ the game\n' >"$root/game/lumireth.exe"
printf 'patch, first release\n' >"$root/game/patch.pac"
printf 'F lumireth.exe;\r\nF patch.pac;\r\nD save;\r\n' >"$root/game/Setup.dat"

cp "$program" "$root/update/"
printf 'patch, second release with fixes\n' >"$root/update/patch.pac"
printf 'data, second release with new scenes\n' >"$root/update/data.pac"
