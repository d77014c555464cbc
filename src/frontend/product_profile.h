// The product profile: every text and name that belongs to the one game
// this updater is built for. Nothing else in the program spells them.
#pragma once

struct ProductProfile {
  const char *Caption;             // caption of the updater's message boxes
  const char *BrowsePrompt;        // title text of the folder browser
  const char *const *UpdateFiles;  // bare file names, ended by an empty name
  const char *MakerFolder;         // the maker's folder under application data
  const char *GameName;            // base name of the game executable and settings file
  const char *DialogTitle;         // title of the confirmation dialog
  const char *DoneMessage;         // the update run's last message
  const char *OverwriteQuestion;   // asked when the update is already in place
  const char *DialogLeadText;      // caption of the dialog's group box
};

// The game's profile, built into the program.
extern const ProductProfile GameProfile;

// The profile a run uses: the game's, unless a test points it at another.
const ProductProfile &Profile();
void UseProfile(const ProductProfile *profile);
