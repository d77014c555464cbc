# A game without installer settings, chosen in the browser and updated: the
# files are copied, and the record in its folder is not written.
lay_out not-installed
steps <<'EOF_'
window
press 6
window
select game
press 1
window
press 1
window
press 1
EOF_
expect <<EOF_
$(save_data_question)
press 6
$(folder_browser "$drive_c_item" disabled)
select "game"
press 1
$(confirm_dialog 'C:\game')
press 1
$(done_message)
press 1
exit 1
EOF_
check() {
  file_is game/patch.pac "$new_patch" && file_is game/data.pac "$new_data" &&
    file_is game/Setup.dat "$installer_record"
}
