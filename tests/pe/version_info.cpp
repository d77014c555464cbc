#include "pe/version_info.h"

#include "pe/pe_image.h"

namespace pe {
namespace {

uint16_t U16(const std::string &bytes, size_t at) {
  if (at + 2 > bytes.size()) throw Error("version resource cut short");
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                               static_cast<unsigned char>(bytes[at + 1]) << 8);
}

uint32_t U32(const std::string &bytes, size_t at) {
  return U16(bytes, at) | static_cast<uint32_t>(U16(bytes, at + 2)) << 16;
}

size_t Align4(size_t at) {
  return (at + 3) & ~static_cast<size_t>(3);
}

// UTF-16 units from `at` up to a terminator before `end`; `at` moves past it.
std::u16string Units(const std::string &bytes, size_t &at, size_t end) {
  std::u16string text;
  for (;;) {
    if (at + 2 > end) throw Error("version text without terminator");
    const uint16_t unit = U16(bytes, at);
    at += 2;
    if (unit == 0) return text;
    text += static_cast<char16_t>(unit);
  }
}

// One node at `start` (32-bit aligned): length, value length, type, key,
// value, then children up to its length.
VersionNode Node(const std::string &bytes, size_t start, size_t limit) {
  const uint16_t length = U16(bytes, start);
  const uint16_t valueLength = U16(bytes, start + 2);
  const uint16_t type = U16(bytes, start + 4);
  const size_t end = start + length;
  if (length < 6 || end > limit) throw Error("version node beyond its parent");
  VersionNode node;
  node.isText = type == 1;
  size_t at = start + 6;
  node.key = Units(bytes, at, end);
  at = Align4(at);
  if (valueLength > 0) {
    if (node.isText) {
      // The length counts characters; the text ends at its terminator.
      size_t textAt = at;
      node.text = Units(bytes, textAt, end);
      at = textAt;
    } else {
      if (at + valueLength > end) throw Error("version value beyond its node");
      node.value = bytes.substr(at, valueLength);
      at += valueLength;
    }
  }
  for (at = Align4(at); at < end; at = Align4(at + U16(bytes, at))) {
    node.children.push_back(Node(bytes, at, end));
  }
  return node;
}

}  // namespace

const VersionNode *VersionNode::Child(const std::u16string &childKey) const {
  for (const VersionNode &child : children) {
    if (child.key == childKey) return &child;
  }
  return nullptr;
}

VersionNode ReadVersionInfo(const std::string &bytes) {
  return Node(bytes, 0, bytes.size());
}

FixedFileInfo ReadFixedFileInfo(const VersionNode &root) {
  const std::string &v = root.value;
  if (v.size() < 52) throw Error("no fixed file info");
  FixedFileInfo info;
  info.signature = U32(v, 0);
  info.fileVersionMS = U32(v, 8);
  info.fileVersionLS = U32(v, 12);
  info.productVersionMS = U32(v, 16);
  info.productVersionLS = U32(v, 20);
  info.fileOS = U32(v, 32);
  info.fileType = U32(v, 36);
  return info;
}

}  // namespace pe
