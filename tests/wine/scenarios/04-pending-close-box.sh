# The dialog's close box ends the run as its end button does.
lay_out pending
steps <<'EOF_'
window
press 6
window
close
EOF_
expect <<EOF_
$(save_data_question)
press 6
$(confirm_dialog 'C:\game')
close
exit 1
EOF_
check() { game_is_untouched; }
