# An update already in place, overwritten: the files are copied again, and
# the record is not written, although it lacks an entry.
lay_out updated
steps <<'EOF_'
window
press 6
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
$(overwrite_question)
press 6
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
