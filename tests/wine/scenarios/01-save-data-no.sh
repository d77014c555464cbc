# The save-data question answered No: the run ends with 0 before anything
# is read or written.
lay_out pending
steps <<'EOF_'
window
press 7
EOF_
expect <<EOF_
$(save_data_question)
press 7
exit 0
EOF_
check() { game_is_untouched; }
