#!/usr/bin/env bash
# The end-to-end suite of update.exe under 32-bit Wine. It makes a fresh
# Wine prefix with Japanese as the locale (code page 932) in a virtual X
# display, runs the stand-in layer's conformance tests there as a Windows
# program, then plays every scenario in scenarios/: lays out the settings
# file, the game folder and the update folder, lets the test driver start
# update.exe and answer its windows, and compares the driver's transcript
# (every window's texts as code page 932 bytes, every answer, the exit code)
# and the files left behind with the expected ones.
#
# Usage: run.sh WINDOWS_BUILD_FOLDER [SCENARIO_NAME...]
#        run.sh --shots OUTPUT_FOLDER WINDOWS_BUILD_FOLDER
# The second form takes the README's pictures instead of testing.
# Where Wine or Xvfb is missing it says so in one line and exits with 77,
# which CTest reports as skipped.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

shots=
if [ "${1:-}" = --shots ]; then
  mkdir -p "$2" && shots=$(cd "$2" && pwd)
  shift 2
fi
build=$(cd "${1:?usage: run.sh WINDOWS_BUILD_FOLDER [SCENARIO_NAME...]}" && pwd)
shift

if ! command -v wine >/dev/null || ! command -v Xvfb >/dev/null; then
  echo "wine_e2e: skipped: Wine or Xvfb is not installed (scripts/setup.sh installs them)"
  exit 77
fi
for program in update.exe wine_driver.exe layer_conformance.exe; do
  [ -f "$build/$program" ] || { echo "wine_e2e: $build/$program is missing; build the windows preset"; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/wine-e2e.XXXXXX")
chmod 755 "$work"
home=$work/home
prefix=$home/prefix
drive_c=$prefix/drive_c
mkdir -p "$home" "$work/bin" "$work/scenarios"
cp "$build/update.exe" "$build/wine_driver.exe" "$build/layer_conformance.exe" "$here/prefix.reg" "$work/bin/"

# Wine keeps the read-only attribute in a file's write permission bits,
# which root ignores; so Wine runs as an ordinary user, whose refusals are
# Windows' refusals. Under root that is nobody, in a home of its own.
if [ "$(id -u)" = 0 ]; then
  wine_uid=$(id -u nobody)
  wine_gid=$(id -g nobody)
  as_wine_user() { setpriv --reuid="$wine_uid" --regid="$wine_gid" --clear-groups -- "$@"; }
  give_to_wine_user() { chown -R "$wine_uid:$wine_gid" "$@"; }
else
  as_wine_user() { "$@"; }
  give_to_wine_user() { :; }
fi
give_to_wine_user "$home" "$work/scenarios"

xvfb_pid=
cleanup() {
  [ -d "$prefix" ] && as_wine_user env WINEPREFIX="$prefix" HOME="$home" wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display of its own, whatever number is free.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "wine_e2e: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

# LC_ALL as well as LANG: Wine takes its code page from them even where the
# system has no ja_JP locale built.
wine_env=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" WINEPREFIX="$prefix" WINEDEBUG=-all
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 DISPLAY=":$(cat "$work/display")" WINEDLLOVERRIDES="mscoree,mshtml=")
wine_run() {  # SECONDS COMMAND...: a command under Wine that cannot hang the suite
  local limit=$1
  shift
  as_wine_user "${wine_env[@]}" timeout -k 5 "$limit" "$@"
}
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

started=$SECONDS
if ! wine_run 300 wineboot -i >"$work/wineboot.log" 2>&1 ||
  ! wine_run 60 wine regedit /S "$(windows_path "$work/bin/prefix.reg")" >>"$work/wineboot.log" 2>&1; then
  echo "wine_e2e: cannot make a Wine prefix"
  cat "$work/wineboot.log"
  exit 1
fi
# Every process of the boot ends, so that the next one starts the desktop
# anew, as the registry now says: virtual.
wine_run 60 wineserver -w
app_data=$(wine_run 60 wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
app_data=$(wine_run 60 winepath -u "$app_data" 2>/dev/null)
common_app_data=$drive_c/ProgramData
[ -d "$app_data" ] || { echo "wine_e2e: no application-data folder in the prefix ($app_data)"; exit 1; }
echo "Wine prefix ready in $((SECONDS - started)) s ($(wine --version), running as $(as_wine_user id -un))"

failures=0

# --- The world a scenario lays out -----------------------------------------

# The Unix path of a path on drive C:, given with slashes.
c() { printf '%s/%s' "$drive_c" "$1"; }

reset_world() {
  for folder in "$app_data" "$common_app_data"; do
    [ -d "$folder.hidden" ] && mv "$folder.hidden" "$folder"
    rm -rf "$folder/BELVORANT"
  done
  chmod -R u+w "$(c game)" "$(c update)" 2>/dev/null
  rm -rf "$(c game)" "$(c other)" "$(c update)"
}

# The installer's settings file: settings IS_INSTALL INSTALL_FOLDER [ROOT]
settings() {
  local root=${3:-$app_data}
  mkdir -p "$root/BELVORANT"
  printf '[INSTALL]\r\nIsInstall=%s\r\nInstallFold=%s\r\n' "$1" "$2" >"$root/BELVORANT/lumireth.ini"
}

# The files lay_out makes (as printf's %b reads them), which checks compare
# against: the first and the second release of the update files, and the
# installer's record.
old_patch='patch 1.0\n'
old_data='data 1.0\n'
new_patch='patch 1.1, with fixes\n'
new_data='data 1.1, with new scenes\n'
installer_record='F lumireth.exe;\nF patch.pac;\r\nD save;\r\n'

# The installed game with the first release of the update files, the
# installer's record (one line ended by LF alone, which a save writes back
# with CR LF), the update folder with update.exe and the second release, and
# a folder that is not the game's. STATE is pending, updated or
# not-installed (no settings file).
lay_out() {
  mkdir -p "$(c game)" "$(c update)" "$(c other)"
  printf 'MZ lumireth\n' >"$(c game/lumireth.exe)"
  printf '%b' "$old_patch" >"$(c game/patch.pac)"
  printf '%b' "$old_data" >"$(c game/data.pac)"
  printf '%b' "$installer_record" >"$(c game/Setup.dat)"
  cp "$work/bin/update.exe" "$(c update/update.exe)"
  printf '%b' "$new_patch" >"$(c update/patch.pac)"
  printf '%b' "$new_data" >"$(c update/data.pac)"
  case $1 in
    pending) settings 1 'C:\game' ;;
    updated)
      settings 1 'C:\game'
      cp "$(c update/patch.pac)" "$(c update/data.pac)" "$(c game/)"
      ;;
    not-installed) ;;
    *) echo "lay_out: unknown state $1" >&2 && return 1 ;;
  esac
}

# Takes the user's and the common application-data folder away.
hide_app_data_folders() {
  mv "$app_data" "$app_data.hidden"
  mv "$common_app_data" "$common_app_data.hidden"
}

read_only() { chmod a-w "$(c "$1")"; }

# A scenario whose expectations are Windows' and which Wine is known to fail:
# todo_wine REASON. It counts as passed while it fails, and as failed once it
# passes, so that the note is removed when Wine no longer differs.
todo_wine() { todo=$1; }

# The driver's script and the expected transcript, from standard input.
steps() { cat >"$dir/steps"; }
expect() { cat >"$dir/expected"; }

# After the run: file_is PATH BYTES (BYTES as printf's %b reads them).
file_is() {
  local path=$1 want
  want=$(printf '%bx' "$2")
  want=${want%x}
  if [ ! -f "$(c "$path")" ]; then
    echo "     C:/$path is missing"
    return 1
  fi
  if ! cmp -s "$(c "$path")" <(printf '%s' "$want"); then
    echo "     C:/$path holds $(od -An -c "$(c "$path")" | tr -s ' \n' ' ' | head -c 300)"
    echo "     expected   $(printf '%s' "$want" | od -An -c | tr -s ' \n' ' ' | head -c 300)"
    return 1
  fi
}
file_is_absent() {
  [ ! -e "$(c "$1")" ] || { echo "     C:/$1 exists" && return 1; }
}
# The files of the game folder as lay_out left them.
game_is_untouched() {
  file_is game/patch.pac "$old_patch" && file_is game/data.pac "$old_data" &&
    file_is game/Setup.dat "$installer_record"
}

# --- Running ------------------------------------------------------------------

# Plays one scenario file in a subshell of its own; its exit status says
# whether everything matched.
play() (
  name=$(basename "$1" .sh)
  dir=$work/scenarios/$name
  mkdir -p "$dir"
  reset_world
  check() { :; }
  todo=
  # shellcheck source=/dev/null
  source "$here/windows.sh" && source "$1" || { echo "FAIL $name: the scenario did not lay out" && exit 1; }
  for path in "$dir" "$(c game)" "$(c other)" "$(c update)" "$app_data"/BELVORANT "$common_app_data"/BELVORANT; do
    [ -e "$path" ] && give_to_wine_user "$path"
  done
  wine_run 120 wine "$(windows_path "$work/bin/wine_driver.exe")" 'C:\update\update.exe' \
    "$(windows_path "$dir/steps")" "$(windows_path "$dir/transcript")" >"$dir/wine.log" 2>&1
  # A driver that had to be stopped leaves update.exe behind; end it and
  # everything else of the prefix, so that the next scenario starts clean.
  if [ $? -ge 124 ]; then
    echo "timeout" >>"$dir/transcript"
    as_wine_user env WINEPREFIX="$prefix" HOME="$home" wineserver -k
  fi
  ok=1
  if ! iconv -f UTF-8 -t CP932 "$dir/expected" >"$dir/expected.cp932"; then
    echo "FAIL $name: the expected transcript is not code page 932 text"
    exit 1
  fi
  if [ -n "$todo" ]; then
    if cmp -s "$dir/expected.cp932" "$dir/transcript" && check >/dev/null; then
      echo "FAIL $name: passes under Wine now; remove its todo_wine ($todo)"
      exit 1
    fi
    echo "todo $name: $todo"
    exit 0
  fi
  if ! cmp -s "$dir/expected.cp932" "$dir/transcript"; then
    echo "FAIL $name: the transcript differs (-expected +actual)"
    diff -u "$dir/expected" <(iconv -f CP932 -t UTF-8 "$dir/transcript" 2>/dev/null || cat "$dir/transcript") |
      tail -n +3 | sed 's/^/     /'
    ok=0
  fi
  if ! check; then
    echo "FAIL $name: the files differ"
    ok=0
  fi
  [ $ok = 1 ] && echo "ok   $name"
  [ $ok = 1 ]
)

if [ -n "$shots" ]; then
  play "$here/screenshots.sh" || exit 1
  for picture in "$work"/scenarios/screenshots/*.bmp; do
    python3 "$here/bmp_to_png.py" "$picture" "$shots/$(basename "$picture" .bmp).png" || exit 1
    echo "wrote $shots/$(basename "$picture" .bmp).png"
  done
  exit 0
fi

# The stand-in layer's conformance tests, built for Windows, under Wine.
wine_run 120 wine "$(windows_path "$work/bin/layer_conformance.exe")" >"$work/conformance.log" 2>&1
status=$?
sed 's/^/     /' "$work/conformance.log" | grep -v '^     ok ' | grep -v '^     wine: '
if [ $status = 0 ]; then echo "ok   layer conformance under Wine"; else
  echo "FAIL layer conformance under Wine (exit $status)"
  failures=$((failures + 1))
fi

scenarios=()
if [ $# -gt 0 ]; then
  for name in "$@"; do scenarios+=("$here/scenarios/$name.sh"); done
else
  scenarios=("$here"/scenarios/*.sh)
fi
for scenario in "${scenarios[@]}"; do
  play "$scenario" || failures=$((failures + 1))
done

echo "$((${#scenarios[@]} + 1 - failures)) of $((${#scenarios[@]} + 1)) passed in $((SECONDS - started)) s"
[ $failures = 0 ]
