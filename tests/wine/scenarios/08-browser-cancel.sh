# No settings file: the folder browser opens at C: with OK disabled; Cancel
# ends the run with 1 and no dialog.
lay_out not-installed
steps <<'EOF_'
window
press 6
window
press 2
EOF_
expect <<EOF_
$(save_data_question)
press 6
$(folder_browser "$drive_c_item" disabled)
press 2
exit 1
EOF_
check() { game_is_untouched; }
