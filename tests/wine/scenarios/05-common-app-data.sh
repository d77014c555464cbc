# Without the user's application-data folder the settings file is read from
# the common one, and no message says so.
lay_out not-installed
mv "$app_data" "$app_data.hidden"
settings 1 'C:\game' "$common_app_data"
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
