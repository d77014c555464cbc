# Yes to the overwrite question leads to the dialog.
lay_out updated
steps <<'EOF_'
window
press 6
window
press 6
window
press 2
EOF_
expect <<EOF_
$(save_data_question)
press 6
$(overwrite_question)
press 6
$(confirm_dialog 'C:\game')
press 2
exit 1
EOF_
