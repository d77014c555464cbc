# The second update file is missing beside update.exe: one message, and
# nothing is copied, not even the first file.
lay_out pending
rm "$(c update/data.pac)"
steps <<'EOF_'
window
press 6
window
press 1
window
press 1
EOF_
expect <<EOF_
$(save_data_question)
press 6
$(confirm_dialog 'C:\game')
press 1
$(source_missing)
press 1
exit 1
EOF_
check() { game_is_untouched; }
