# The installer's record is read-only: the files are copied, then the
# record's message (its path as the caption) and the run's; the record keeps
# its lines. The save finds the record read-only before it writes anything,
# so this does not depend on the platform refusing to move a file over a
# read-only one (Wine's MoveFileExA does not refuse).
lay_out pending
read_only game/Setup.dat
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
$(file_not_created 'C:\game\Setup.dat')
press 1
$(record_failed)
press 1
exit 1
EOF_
check() {
  file_is game/patch.pac "$new_patch" && file_is game/data.pac "$new_data" &&
    file_is game/Setup.dat "$installer_record" && file_is_absent game/Setup.dat.tmp
}
