# The game's copy of the second update file is read-only: the copy's own
# message, then the run's; the first file stays replaced, the second is
# untouched, and the record is not written.
lay_out pending
read_only game/data.pac
steps <<'EOF_'
window
press 6
window
press 1
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
$(file_not_created)
press 1
$(copy_failed)
press 1
exit 1
EOF_
check() {
  file_is game/patch.pac "$new_patch" && file_is game/data.pac "$old_data" &&
    file_is game/Setup.dat "$installer_record"
}
