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
  file_is game/patch.pac 'patch 1.1, with fixes\n' && file_is game/data.pac 'data 1.1, with new scenes\n' &&
    file_is game/Setup.dat 'F lumireth.exe;\nF patch.pac;\r\nD save;\r\n'
}
