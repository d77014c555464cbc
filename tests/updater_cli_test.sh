#!/usr/bin/env bash
# Drives the Linux updater through a pipe, as a script would, on every road
# of a run over the sample install, and checks what it shows, its exit code,
# the game's files and Setup.dat's bytes.
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0
passed=0
s=$work/s

fail() {
  echo "FAIL $name: $*"
  ok=0
}

# A fresh sample install for each scenario.
fresh() {
  name=$1
  ok=1
  bash "$here/../scripts/sample_install.sh" "$s" "$program"
}

run() {  # answers, then environment assignments
  local answers=$1
  shift
  out=$(printf '%b' "$answers" | env -u APPDATA -u PROGRAMDATA "$@" "$s/update/updater" 2>&1)
  status=$?
}

expect_exit() { [ "$status" = "$1" ] || fail "exit $status, expected $1"; }
expect_shown() { for text in "$@"; do grep -qF -- "$text" <<<"$out" || fail "not shown: $text"; done; }
expect_not_shown() { for text in "$@"; do grep -qF -- "$text" <<<"$out" && fail "shown: $text"; done; }
# The texts appear in this order.
expect_order() {
  local rest=$out text
  for text in "$@"; do
    [[ $rest == *"$text"* ]] || { fail "not in order: $text"; return; }
    rest=${rest#*"$text"}
  done
}
expect_file() {  # path, expected bytes (printf format)
  local want
  want=$(mktemp)
  printf "$2" >"$want"
  cmp -s "$1" "$want" || fail "$(basename "$1") holds $(od -c "$1" | head -3)"
  rm -f "$want"
}
expect_same() { cmp -s "$1" "$2" || fail "$(basename "$1") is not the copy of $2"; }
done_case() {
  if [ $ok = 1 ]; then
    echo "ok   $name"
    passed=$((passed + 1))
  else
    failures=$((failures + 1))
    sed 's/^/     | /' <<<"$out"
  fi
}

caption='ミルフェネア 更新プログラム'
save_data='この更新プログラムを実行すると、セーブデータは使用できなくなります。'
overwrite='既に更新処理が行われています。'
dialog='== 更新処理 == (dialog)'
browser='ミルフェネアのフォルダーを選択して下さい。'
done_message='更新処理が終了しました。'
installer_record='F lumireth.exe;\r\nF patch.pac;\r\nD save;\r\n'
old_patch='patch, first release\n'

fresh "save-data question, no"
run 'no\n' APPDATA="$s/appdata"
expect_exit 0
expect_shown "$caption" "$save_data" '[yes / no]'
expect_not_shown "$dialog"
done_case

fresh "no application data folder"
run '' APPDATA="$work/nowhere" PROGRAMDATA="$work/nowhere"
expect_exit 255
expect_shown 'AppDataフォルダが見つかりませんでした'
expect_not_shown "$save_data"
done_case

fresh "common application data folder"
run 'y\nend\n' PROGRAMDATA="$s/appdata"
expect_exit 1
expect_order "$save_data" "$dialog"
done_case

fresh "pending, run"
run 'yes\nrun\nok\n' APPDATA="$s/appdata"
expect_exit 1
expect_order "$save_data" "$dialog" "| $s/game |" '下記のインストール先に更新処理を行います。' "$done_message"
expect_not_shown "$overwrite"
expect_same "$s/game/patch.pac" "$s/update/patch.pac"
expect_same "$s/game/data.pac" "$s/update/data.pac"
expect_file "$s/game/Setup.dat" "${installer_record}F data.pac;\r\n"
done_case

fresh "pending, Enter at every window presses its default button"
run '\n\n\n' APPDATA="$s/appdata"
expect_exit 1
expect_order "$save_data" "$dialog" "$done_message"
expect_same "$s/game/data.pac" "$s/update/data.pac"
done_case

fresh "pending, end"
run 'yes\nend\n' APPDATA="$s/appdata"
expect_exit 1
expect_not_shown "$done_message"
expect_file "$s/game/patch.pac" "$old_patch"
[ -e "$s/game/data.pac" ] && fail "data.pac was copied"
done_case

fresh "pending, the dialog closed at the end of input"
run 'yes\n' APPDATA="$s/appdata"
expect_exit 1
expect_shown "$dialog"
expect_file "$s/game/patch.pac" "$old_patch"
done_case

fresh "already updated, overwrite yes"
cp "$s/update/patch.pac" "$s/update/data.pac" "$s/game/"
run 'yes\nyes\nrun\nok\n' APPDATA="$s/appdata"
expect_exit 1
expect_order "$save_data" "$overwrite" "$dialog" "$done_message"
expect_file "$s/game/Setup.dat" "$installer_record"
done_case

fresh "already updated, overwrite no"
cp "$s/update/patch.pac" "$s/update/data.pac" "$s/game/"
run 'yes\nno\n' APPDATA="$s/appdata"
expect_exit 1
expect_order "$save_data" "$overwrite"
expect_not_shown "$dialog"
done_case

fresh "not installed, browser cancelled"
rm "$s/appdata/BELVORANT/lumireth.ini"
run 'yes\n\n' APPDATA="$s/appdata"
expect_exit 1
expect_order "$save_data" "$browser" '(no folder)'
expect_not_shown "$dialog"
done_case

fresh "not installed, an invalid name, a folder without the game, then the game's"
rm "$s/appdata/BELVORANT/lumireth.ini"
mkdir -p "$s/other"
run "yes\n$s/nowhere\nok\n$s/other\n$s/game\nrun\nok\n" APPDATA="$s/appdata"
expect_exit 1
expect_order "$browser" '無効なフォルダー名が入力されました' "$s/nowhere" "selected: $s/other   OK: disabled" \
  "chosen: $s/game" "$dialog" "$done_message"
expect_same "$s/game/data.pac" "$s/update/data.pac"
expect_file "$s/game/Setup.dat" "$installer_record"  # not installed: the record is not written
done_case

fresh "a source missing"
rm "$s/update/data.pac"
run 'yes\nrun\nok\n' APPDATA="$s/appdata"
expect_exit 1
expect_shown 'コピー元のファイルが見つかりません。'
expect_not_shown "$done_message"
expect_file "$s/game/patch.pac" "$old_patch"
done_case

fresh "a read-only game copy"
chmod a-w "$s/game/patch.pac"
run 'yes\nrun\nok\nok\n' APPDATA="$s/appdata"
expect_exit 1
expect_order 'ファイル作成失敗' 'アップデートファイルのコピーに失敗しました。'
expect_file "$s/game/patch.pac" "$old_patch"
expect_file "$s/game/Setup.dat" "$installer_record"
done_case

fresh "a read-only Setup.dat"
chmod a-w "$s/game/Setup.dat"
run 'yes\nrun\nok\nok\n' APPDATA="$s/appdata"
expect_exit 1
expect_order "== $s/game\\Setup.dat ==" 'ファイル作成失敗' 'インストール情報の更新に失敗しました。'
expect_same "$s/game/data.pac" "$s/update/data.pac"
expect_file "$s/game/Setup.dat" "$installer_record"
ls "$s/game" | grep -q tmp && fail "a temporary file was left"
done_case

echo "$passed passed, $failures failed"
[ $failures = 0 ]
