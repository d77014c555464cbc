#include "pe/pe_image.h"

#include <fstream>
#include <iterator>
#include <utility>

namespace pe {
namespace {

const uint32_t kHighBit = 0x80000000u;
const size_t kSectionHeaderSize = 40;
const size_t kImportDescriptorSize = 20;
const size_t kResourceDirectorySize = 16;
const size_t kResourceEntrySize = 8;

}  // namespace

Image Image::Load(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("cannot open " + path);
  return Image(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

Image::Image(std::string bytes) : file_(std::move(bytes)) {
  if (file_.size() < 64 || file_.compare(0, 2, "MZ") != 0) throw Error("no MZ header");
  const size_t pe = U32(0x3C);
  if (U32(pe) != 0x00004550u) throw Error("no PE signature");

  // The file header.
  const size_t file = pe + 4;
  headers_.machine = U16(file);
  const uint16_t sectionCount = U16(file + 2);
  headers_.timeDateStamp = U32(file + 4);
  headers_.symbolTable = U32(file + 8);
  headers_.symbolCount = U32(file + 12);
  const uint16_t optionalSize = U16(file + 16);
  headers_.characteristics = U16(file + 18);

  // The optional header, PE32 layout.
  const size_t optional = file + 20;
  headers_.optionalMagic = U16(optional);
  if (headers_.optionalMagic != kOptionalMagicPe32) throw Error("not a PE32 optional header");
  if (optionalSize < 96) throw Error("optional header too short");
  headers_.imageBase = U32(optional + 28);
  headers_.subsystem = U16(optional + 68);
  headers_.dllCharacteristics = U16(optional + 70);
  const uint32_t directoryCount = U32(optional + 92);
  if (96 + static_cast<uint64_t>(directoryCount) * 8 > optionalSize) throw Error("too many data directories");
  for (uint32_t i = 0; i < directoryCount; ++i) {
    directories_.push_back({U32(optional + 96 + i * 8), U32(optional + 100 + i * 8)});
  }

  const size_t table = optional + optionalSize;
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const size_t at = table + i * kSectionHeaderSize;
    U32(at + kSectionHeaderSize - 4);  // the whole header lies in the file
    Section s;
    s.name = file_.substr(at, 8);
    s.name.resize(s.name.find('\0') == std::string::npos ? 8 : s.name.find('\0'));
    s.virtualSize = U32(at + 8);
    s.virtualAddress = U32(at + 12);
    s.rawSize = U32(at + 16);
    s.rawOffset = U32(at + 20);
    if (static_cast<uint64_t>(s.rawOffset) + s.rawSize > file_.size()) throw Error("section beyond the file");
    sections_.push_back(s);
  }
}

DataDirectory Image::Directory(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= directories_.size()) return {};
  return directories_[static_cast<size_t>(index)];
}

uint16_t Image::U16(size_t offset) const {
  if (offset + 2 > file_.size()) throw Error("read beyond the file");
  const unsigned char *p = reinterpret_cast<const unsigned char *>(file_.data()) + offset;
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Image::U32(size_t offset) const {
  return U16(offset) | static_cast<uint32_t>(U16(offset + 2)) << 16;
}

// The file offset of `size` bytes at an image address, all inside the raw
// data of one section.
size_t Image::Offset(uint32_t rva, uint32_t size) const {
  for (const Section &s : sections_) {
    if (rva < s.virtualAddress) continue;
    const uint64_t into = rva - s.virtualAddress;
    if (into + size <= s.rawSize) return s.rawOffset + static_cast<size_t>(into);
  }
  throw Error("address not in the file: " + std::to_string(rva));
}

std::string Image::Read(uint32_t rva, uint32_t size) const {
  return file_.substr(Offset(rva, size), size);
}

std::string Image::Text(uint32_t rva) const {
  const size_t start = Offset(rva, 1);
  const size_t end = file_.find('\0', start);
  if (end == std::string::npos) throw Error("unterminated text");
  return file_.substr(start, end - start);
}

std::vector<Import> Image::Imports() const {
  std::vector<Import> imports;
  const DataDirectory dir = Directory(kImportDirectory);
  if (dir.rva == 0) return imports;
  // Descriptors until one of all zeros.
  for (uint32_t at = dir.rva;; at += kImportDescriptorSize) {
    const size_t d = Offset(at, kImportDescriptorSize);
    const uint32_t lookup = U32(d), name = U32(d + 12), bound = U32(d + 16);
    if (lookup == 0 && name == 0 && bound == 0) break;
    Import import;
    import.dll = Text(name);
    // The lookup table names the functions; without it, the address table
    // holds the same entries before binding.
    for (uint32_t entry = lookup ? lookup : bound;; entry += 4) {
      const uint32_t value = U32(Offset(entry, 4));
      if (value == 0) break;
      import.functions.push_back(value & kHighBit ? "#" + std::to_string(value & 0xFFFF) : Text(value + 2));
    }
    imports.push_back(import);
  }
  return imports;
}

ResourceId Image::ResourceName(uint32_t field) const {
  ResourceId id;
  if (!(field & kHighBit)) {
    id.number = static_cast<uint16_t>(field);
    return id;
  }
  // A counted UTF-16 name, at an offset from the start of the resources.
  const uint32_t at = Directory(kResourceDirectory).rva + (field & ~kHighBit);
  const uint16_t length = U16(Offset(at, 2));
  const size_t text = Offset(at + 2, length * 2u);
  for (uint16_t i = 0; i < length; ++i) id.name += static_cast<char16_t>(U16(text + i * 2u));
  return id;
}

// Three levels: type, name, language; the third leads to the data.
void Image::WalkResources(uint32_t directory, int level, Resource &path, std::vector<Resource> &out) const {
  const uint32_t base = Directory(kResourceDirectory).rva;
  const size_t header = Offset(base + directory, kResourceDirectorySize);
  const uint32_t count = static_cast<uint32_t>(U16(header + 12)) + U16(header + 14);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = Offset(base + directory + kResourceDirectorySize + i * kResourceEntrySize, 8);
    const uint32_t name = U32(entry), target = U32(entry + 4);
    const bool isDirectory = (target & kHighBit) != 0;
    if (isDirectory != (level < 2)) throw Error("resource tree not three levels deep");
    if (level == 0) path.type = ResourceName(name);
    if (level == 1) path.name = ResourceName(name);
    if (isDirectory) {
      WalkResources(target & ~kHighBit, level + 1, path, out);
      continue;
    }
    if (name & kHighBit) throw Error("resource language given as a name");
    path.language = static_cast<uint16_t>(name);
    // The data entry gives an image address and a size.
    const size_t data = Offset(base + target, 16);
    path.bytes = Read(U32(data), U32(data + 4));
    out.push_back(path);
  }
}

std::vector<Resource> Image::Resources() const {
  std::vector<Resource> resources;
  if (Directory(kResourceDirectory).rva == 0) return resources;
  Resource path;
  WalkResources(0, 0, path, resources);
  return resources;
}

}  // namespace pe
