# No new file can be made in the game's folder (its write permission is
# taken away, as an access rule would on Windows): the update files are
# replaced in place, but the record's new copy cannot be created; the
# record's message with its path as the caption, then the run's; the record
# keeps its lines.
lay_out pending
chmod a-w "$(c game)"
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
