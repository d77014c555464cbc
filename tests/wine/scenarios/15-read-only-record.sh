# The installer's record is read-only: the files are copied, then the
# record's message (its path as the caption) and the run's; the record keeps
# its lines. The record is saved by writing a new copy beside it and moving
# that over it, which Windows refuses for a read-only target; Wine's
# MoveFileExA replaces it, so under Wine the run ends with the done message
# and the record is rewritten. 16-record-not-created reaches the same end.
todo_wine "MoveFileExA replaces a read-only file"
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
  file_is game/patch.pac 'patch 1.1, with fixes\n' && file_is game/data.pac 'data 1.1, with new scenes\n' &&
    file_is game/Setup.dat 'F lumireth.exe;\nF patch.pac;\r\nD save;\r\n' && file_is_absent game/Setup.dat.tmp
}
