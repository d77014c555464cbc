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
  file_is game/patch.pac 'patch 1.1, with fixes\n' && file_is game/data.pac 'data 1.1, with new scenes\n' &&
    file_is game/Setup.dat 'F lumireth.exe;\nF patch.pac;\r\nD save;\r\n' && file_is_absent game/Setup.dat.tmp
}
