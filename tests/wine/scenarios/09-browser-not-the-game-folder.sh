# A folder without the game executable, then the game's own folder. Wine's
# browser enables OK for every file-system folder after the callback has
# run, so the callback's "disabled" for C:\other does not last here (on
# Windows it does); pressing OK shows how the program tests the chosen
# folder once more: the message, then the browser again at C:. The game's
# folder enables OK, and the dialog shows its path.
lay_out not-installed
steps <<'EOF_'
window
press 6
window
select other
show
press 1
window
press 1
window
select game
show
press 1
window
press 2
EOF_
expect <<EOF_
$(save_data_question)
press 6
$(folder_browser "$drive_c_item" disabled)
select "other"
$(folder_browser other enabled)
press 1
$(not_game_folder)
press 1
$(folder_browser "$drive_c_item" disabled)
select "game"
$(folder_browser game enabled)
press 1
$(confirm_dialog 'C:\game')
press 2
exit 1
EOF_
check() { game_is_untouched; }
