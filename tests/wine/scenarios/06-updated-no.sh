# The game's copies already match the update: the overwrite question, with
# no icon; No ends the run with 1 and no dialog.
lay_out updated
steps <<'EOF_'
window
press 6
window
press 7
EOF_
expect <<EOF_
$(save_data_question)
press 6
$(overwrite_question)
press 7
exit 1
EOF_
