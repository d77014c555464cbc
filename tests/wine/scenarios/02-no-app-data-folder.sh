# Neither the user's nor the common application-data folder exists: the
# missing-folder message is the only window, and the exit code is -1.
lay_out pending
hide_app_data_folders
steps <<'EOF_'
window
press 1
EOF_
expect <<EOF_
$(no_app_data_folder)
press 1
exit -1
EOF_
check() { game_is_untouched; }
