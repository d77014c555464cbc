# The program's windows as the driver writes them, for the expected
# transcripts. The program's texts are written here in UTF-8, as they are
# meant to read; the suite converts each expected transcript to code page
# 932 with iconv and compares bytes. Button texts, the folder browser's own
# controls and the drive's name in its tree are Wine's (in Japanese).

caption='ミルフェネア 更新プログラム'

# A message box: message_box TEXT ICON BUTTONS [CAPTION [OWNER]]
# ICON is "icon" or "no icon", BUTTONS "yes-no" or "ok".
message_box() {
  local text=$1 icon=$2 buttons=$3 title=${4:-$caption} owner=${5:-none}
  echo "window \"$title\" class #32770 owner $owner"
  echo "  Static 1088 $icon"
  if [ "$buttons" = yes-no ]; then
    echo '  Button 6 "はい(&Y)" default focus'
    echo '  Button 7 "いいえ(&N)"'
  else
    echo '  Button 1 "OK" default focus'
  fi
  echo "  Static 65535 \"$text\""
}

no_app_data_folder() { message_box 'AppDataフォルダが見つかりませんでした' icon ok; }
save_data_question() {
  message_box 'この更新プログラムを実行すると、セーブデータは使用できなくなります。<LF>よろしいですか？' icon yes-no
}
overwrite_question() { message_box '既に更新処理が行われています。<CR><LF>上書き処理を行いますか？' 'no icon' yes-no; }
not_game_folder() { message_box 'ゲームフォルダーではありません。' icon ok; }

# The folder browser: folder_browser SELECTED_ITEM OK_STATE ("enabled" or
# "disabled"). The focus stays on Cancel, where Wine put it while OK was
# disabled at the start.
folder_browser() {
  echo 'window "フォルダーの参照" class #32770 owner none'
  if [ "$2" = enabled ]; then echo '  Button 1 "OK" default'; else echo '  Button 1 "OK" default disabled'; fi
  echo '  Button 2 "キャンセル" focus'
  echo '  Static 14146 "ミルフェネアのフォルダーを選択して下さい。"'
  echo "  tree \"$1\""
}
# The drive C: as Wine names it in the tree (no volume label).
drive_c_item=' (C:)'

# The confirmation dialog: confirm_dialog INSTALL_FOLDER
confirm_dialog() {
  echo 'window "更新処理" class #32770 owner none'
  echo '  Button 1 "実行" default focus'
  echo '  Button 2 "終了"'
  echo "  Edit 1001 \"$1\" readonly"
  echo '  Button -1 "下記のインストール先に更新処理を行います。" groupbox'
}

# The update run's messages.
done_message() { message_box '更新処理が終了しました。' 'no icon' ok; }
source_missing() { message_box 'コピー元のファイルが見つかりません。' icon ok; }
file_not_created() { message_box 'ファイル作成失敗' icon ok "${1:-$caption}"; }
copy_failed() { message_box 'アップデートファイルのコピーに失敗しました。' icon ok; }
record_failed() { message_box 'インストール情報の更新に失敗しました。' icon ok; }
free_space_unknown() { message_box 'ディスクの空き容量が取得できません。' icon ok; }
