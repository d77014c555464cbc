# The run button of a pending update: both files are copied, their entries
# are added to the installer's record (the one already there is not added
# again, and the line read with LF alone is written back with CR LF), and
# the done message, with no icon, is the last window.
lay_out pending
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
$(confirm_dialog 'C:\game')
press 1
$(done_message)
press 1
exit 1
EOF_
check() {
  file_is game/patch.pac "$new_patch" && file_is game/data.pac "$new_data" &&
    file_is game/Setup.dat 'F lumireth.exe;\r\nF patch.pac;\r\nD save;\r\nF data.pac;\r\n' &&
    file_is_absent game/Setup.dat.tmp
}
