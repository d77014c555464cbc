# The settings say installed and the game's copies differ: the dialog
# follows the save-data question directly, with the folder the settings
# name. Its end button ends the run with 1 and nothing written.
lay_out pending
steps <<'EOF_'
window
press 6
window
press 2
EOF_
expect <<EOF_
$(save_data_question)
press 6
$(confirm_dialog 'C:\game')
press 2
exit 1
EOF_
check() { game_is_untouched; }
