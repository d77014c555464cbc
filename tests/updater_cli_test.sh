#!/usr/bin/env bash
# Drives the Linux updater through a pipe, as a script would, on the sample
# install, and checks what it shows and its exit code.
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0

check() {  # name, expected exit, actual exit, output, expected text...
  local name=$1 want=$2 got=$3 out=$4
  shift 4
  local ok=1
  [ "$got" = "$want" ] || { echo "FAIL $name: exit $got, expected $want"; ok=0; }
  for text in "$@"; do
    grep -qF -- "$text" <<<"$out" || { echo "FAIL $name: no '$text' in output"; ok=0; }
  done
  if [ $ok = 1 ]; then echo "ok   $name"; else failures=$((failures + 1)); echo "$out" | sed 's/^/     | /'; fi
}

run() {  # answers, then environment assignments
  local answers=$1
  shift
  printf '%b' "$answers" | env -u APPDATA -u PROGRAMDATA "$@" "$work/s/update/updater" 2>&1
}

save_data='この更新プログラムを実行すると、セーブデータは使用できなくなります。'
caption='ミルフェネア 更新プログラム'

bash "$here/../scripts/sample_install.sh" "$work/s" "$program"

out=$(run 'no\n' APPDATA="$work/s/appdata"); status=$?
check "save-data question, no" 0 $status "$out" "$caption" "$save_data" "[yes / no]"

out=$(run '' APPDATA="$work/nowhere"); status=$?
check "no application data folder" 255 $status "$out" 'AppDataフォルダが見つかりませんでした'
if grep -qF "$save_data" <<<"$out"; then echo "FAIL no application data folder: asked a question"; failures=$((failures + 1)); fi

cp "$work/s/update/patch.pac" "$work/s/update/data.pac" "$work/s/game/"
out=$(run 'y\nN\n' APPDATA="$work/s/appdata"); status=$?
check "already updated, overwrite no" 1 $status "$out" "$save_data" '既に更新処理が行われています。' '上書き処理を行いますか？'

out=$(run 'yes\n' PROGRAMDATA="$work/s/appdata"); status=$?
check "common application data folder" 1 $status "$out" '既に更新処理が行われています。'

if [ $failures -gt 0 ]; then echo "$failures failed"; exit 1; fi
echo "all passed"
