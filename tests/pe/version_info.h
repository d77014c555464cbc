// A reader of the version resource (VS_VERSIONINFO): a tree of nodes, each
// with a UTF-16 key, a value and children, as the file's properties read it.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace pe {

struct VersionNode {
  std::u16string key;
  bool isText = false;
  std::string value;    // binary values: their bytes
  std::u16string text;  // text values, without the terminator
  std::vector<VersionNode> children;

  // The child of that key, or null.
  const VersionNode *Child(const std::u16string &childKey) const;
};

// The root node "VS_VERSION_INFO"; throws pe::Error when the bytes do not
// hold together.
VersionNode ReadVersionInfo(const std::string &bytes);

// The fixed part that the root's value holds.
struct FixedFileInfo {
  uint32_t signature = 0;
  uint32_t fileVersionMS = 0, fileVersionLS = 0;
  uint32_t productVersionMS = 0, productVersionLS = 0;
  uint32_t fileOS = 0, fileType = 0;
};
FixedFileInfo ReadFixedFileInfo(const VersionNode &root);

}  // namespace pe
