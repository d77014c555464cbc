// The game installer's install record ("Setup.dat"): its path and its lines
// in file order, each an opaque byte string that carries its own ending.
// The update run loads it, adds an entry for each file it copied, and saves
// it, so that a later uninstall removes those files too.
#pragma once

#include <list>
#include <string>

class UnInstallInfo {
 public:
  // Loads the record at once; a record that cannot be read starts empty.
  explicit UnInstallInfo(std::string filePath);
  virtual ~UnInstallInfo();
  UnInstallInfo(const UnInstallInfo &) = delete;
  UnInstallInfo &operator=(const UnInstallInfo &) = delete;

  // Replaces Lines with the record's lines. False, with Lines empty, when
  // the record could not be opened or read whole. Shows nothing.
  bool Load();

  // Appends the line unless an equal one (same bytes, ending included) is
  // present. A last line without an ending gets CR LF first, so that the
  // new line starts on a line of its own.
  void AddLine(std::string line);

  // Rewrites the record from Lines. The text is written to a file beside
  // the record, which replaces the record only once it is complete, so a
  // failed save leaves the record as it was. A record that exists but could
  // not be read is never replaced. False on any failure; a record that
  // cannot be created or replaced shows a message with its path as caption.
  bool Save();

  std::string FilePath;
  std::list<std::string> Lines;

 private:
  // Set when the last load found the record but could not read it whole:
  // its lines are not in Lines, so saving would lose them.
  bool unreadRecord_ = false;
};
