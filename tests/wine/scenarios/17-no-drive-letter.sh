# The settings name a network folder: its drive part is empty, and asking
# for the free space of "" fails, so the run ends with its message before
# anything is read or written there.
lay_out not-installed
settings 1 '\\server\share\game'
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
$(confirm_dialog '\\server\share\game')
press 1
$(free_space_unknown)
press 1
exit 1
EOF_
check() { game_is_untouched; }
