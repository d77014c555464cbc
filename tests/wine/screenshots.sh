# The README's pictures, from one run: the save-data question, the folder
# browser with the game's folder selected, and the confirmation dialog.
lay_out not-installed
steps <<EOF_
window
shot $(windows_path "$dir/save-data-question.bmp")
press 6
window
select game
shot $(windows_path "$dir/folder-browser.bmp")
press 1
window
shot $(windows_path "$dir/confirmation-dialog.bmp")
press 2
EOF_
expect <<EOF_
$(save_data_question)
shot "$(windows_path "$dir/save-data-question.bmp")"
press 6
$(folder_browser "$drive_c_item" disabled)
select "game"
shot "$(windows_path "$dir/folder-browser.bmp")"
press 1
$(confirm_dialog 'C:\game')
shot "$(windows_path "$dir/confirmation-dialog.bmp")"
press 2
exit 1
EOF_
