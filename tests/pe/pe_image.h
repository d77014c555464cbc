// A reader of 32-bit Windows executables (PE32) for the checks of update.exe
// on a host without Windows: the file and optional headers, the sections,
// the imported DLLs with their functions, and the resources by type, name
// and language. Every offset and size is checked against the file; a file
// that does not hold together throws pe::Error.
#pragma once

#include <stdint.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace pe {

struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Values of the headers that the checks look at.
const uint16_t kMachineI386 = 0x014C;
const uint16_t kOptionalMagicPe32 = 0x010B;
const uint16_t kSubsystemWindowsGui = 2;
const uint16_t kFileRelocsStripped = 0x0001;
const uint16_t kFileExecutable = 0x0002;
const uint16_t kFileDll = 0x2000;
const uint16_t kDynamicBase = 0x0040;
const uint16_t kNxCompat = 0x0100;
const uint16_t kNoSeh = 0x0400;

// Data directories by index.
const int kImportDirectory = 1;
const int kResourceDirectory = 2;
const int kBaseRelocDirectory = 5;
const int kDebugDirectory = 6;
const int kDelayImportDirectory = 13;

// Resource types by number.
const uint16_t kRtIcon = 3;
const uint16_t kRtDialog = 5;
const uint16_t kRtGroupIcon = 14;
const uint16_t kRtVersion = 16;
const uint16_t kRtManifest = 24;

struct Headers {
  uint16_t machine = 0;
  uint32_t timeDateStamp = 0;
  uint32_t symbolTable = 0;
  uint32_t symbolCount = 0;
  uint16_t characteristics = 0;
  uint16_t optionalMagic = 0;
  uint32_t imageBase = 0;
  uint16_t subsystem = 0;
  uint16_t dllCharacteristics = 0;
};

struct DataDirectory {
  uint32_t rva = 0;
  uint32_t size = 0;
};

struct Section {
  std::string name;
  uint32_t virtualAddress = 0;
  uint32_t virtualSize = 0;
  uint32_t rawOffset = 0;
  uint32_t rawSize = 0;
};

// One imported DLL and its functions in table order; a function imported
// by ordinal is written "#<ordinal>".
struct Import {
  std::string dll;
  std::vector<std::string> functions;
};

// A resource type or name: a number, or a name of UTF-16 code units.
struct ResourceId {
  uint16_t number = 0;
  std::u16string name;  // empty for a number

  bool Is(uint16_t n) const { return name.empty() && number == n; }
  bool Is(const std::u16string &n) const { return name == n; }
};

struct Resource {
  ResourceId type;
  ResourceId name;
  uint16_t language = 0;
  std::string bytes;
};

class Image {
 public:
  // Reads the whole file; throws pe::Error when it cannot be read.
  static Image Load(const std::string &path);
  explicit Image(std::string bytes);

  const Headers &Header() const { return headers_; }
  // A missing directory is {0, 0}.
  DataDirectory Directory(int index) const;
  const std::vector<Section> &Sections() const { return sections_; }
  std::vector<Import> Imports() const;
  // Every resource, in the order of the resource directory.
  std::vector<Resource> Resources() const;
  // The file's bytes at an address of the loaded image.
  std::string Read(uint32_t rva, uint32_t size) const;

 private:
  size_t Offset(uint32_t rva, uint32_t size) const;
  uint16_t U16(size_t offset) const;
  uint32_t U32(size_t offset) const;
  std::string Text(uint32_t rva) const;  // a NUL-terminated narrow text
  void WalkResources(uint32_t directory, int level, Resource &path, std::vector<Resource> &out) const;
  ResourceId ResourceName(uint32_t field) const;

  std::string file_;
  Headers headers_;
  std::vector<DataDirectory> directories_;
  std::vector<Section> sections_;
};

}  // namespace pe
