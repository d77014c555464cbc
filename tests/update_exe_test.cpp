// update.exe as it ships, read from the built file: the headers and the
// hardening flags, the imported DLLs, and the resources byte for byte. The
// expected values are written out here; texts are converted from UTF-8 to
// UTF-16 by iconv, never taken from the program's own sources.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "pe/pe_image.h"
#include "pe/version_info.h"

namespace {

// UTF-8 text as UTF-16 code units, converted by iconv.
std::u16string Utf16(const char *utf8) {
  iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no UTF-16LE in iconv");
  std::string in = utf8;
  std::string out(in.size() * 2 + 2, '\0');
  char *src = &in[0];
  char *dst = &out[0];
  size_t srcLeft = in.size(), dstLeft = out.size();
  size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) throw std::runtime_error("not convertible to UTF-16");
  out.resize(out.size() - dstLeft);
  std::u16string units;
  for (size_t i = 0; i + 1 < out.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(out[i]) | static_cast<unsigned char>(out[i + 1])
                                                                            << 8);
  }
  return units;
}

// Numbers of n bytes out of a resource, little-endian and big-endian (PNG).
uint32_t Le(const std::string &bytes, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t k = n; k-- > 0;) v = v << 8 | static_cast<unsigned char>(bytes.at(at + k));
  return v;
}
uint32_t Be(const std::string &bytes, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t k = 0; k < n; ++k) v = v << 8 | static_cast<unsigned char>(bytes.at(at + k));
  return v;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Little-endian bytes, written the way a resource lays them out.
class Bytes {
 public:
  void U8(uint8_t v) { bytes_ += static_cast<char>(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  // A UTF-16 text with its terminator.
  void Text(const char *utf8) {
    for (char16_t unit : Utf16(utf8)) U16(unit);
    U16(0);
  }
  void Align4() {
    while (bytes_.size() % 4) U8(0);
  }
  const std::string &Get() const { return bytes_; }

 private:
  std::string bytes_;
};

// Where two byte strings first differ, for a failure message worth reading.
std::string FirstDifference(const std::string &expected, const std::string &actual) {
  size_t i = 0;
  while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) ++i;
  if (i == expected.size() && i == actual.size()) return "none";
  return "byte " + std::to_string(i) + " of " + std::to_string(expected.size()) + " expected, " +
         std::to_string(actual.size()) + " found";
}

class UpdateExeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    try {
      image_.reset(new pe::Image(pe::Image::Load(UPDATE_EXE)));
      resources_ = image_->Resources();
    } catch (const std::exception &e) {
      loadError_ = e.what();
    }
  }
  static void TearDownTestSuite() { image_.reset(); }

  void SetUp() override {
    // A missing program is a failure, not a reason to skip: the test command
    // builds update.exe before these checks run.
    if (!image_) {
      FAIL() << "cannot read update.exe at " << UPDATE_EXE << ": " << loadError_
             << "\nBuild it first: cmake --preset windows && cmake --build --preset windows"
             << " (or point the cache variable UPDATE_EXE at it).";
    }
  }

  const pe::Image &Image() const { return *image_; }

  // All resources of a type and name, in every language.
  template <typename Name>
  std::vector<pe::Resource> Find(uint16_t type, const Name &name) const {
    std::vector<pe::Resource> found;
    for (const pe::Resource &r : resources_) {
      if (r.type.Is(type) && r.name.Is(name)) found.push_back(r);
    }
    return found;
  }

  static std::unique_ptr<pe::Image> image_;
  static std::vector<pe::Resource> resources_;
  static std::string loadError_;
};

std::unique_ptr<pe::Image> UpdateExeTest::image_;
std::vector<pe::Resource> UpdateExeTest::resources_;
std::string UpdateExeTest::loadError_;

TEST_F(UpdateExeTest, IsAHardened32BitGuiProgram) {
  const pe::Headers &h = Image().Header();
  EXPECT_EQ(h.machine, pe::kMachineI386);
  EXPECT_EQ(h.optionalMagic, pe::kOptionalMagicPe32);
  EXPECT_EQ(h.subsystem, pe::kSubsystemWindowsGui);
  EXPECT_TRUE(h.characteristics & pe::kFileExecutable);
  EXPECT_FALSE(h.characteristics & pe::kFileDll);
  EXPECT_TRUE(h.dllCharacteristics & pe::kDynamicBase) << "no ASLR";
  EXPECT_TRUE(h.dllCharacteristics & pe::kNxCompat) << "no DEP";
  EXPECT_TRUE(h.dllCharacteristics & pe::kNoSeh);
  // ASLR moves the image only when it can be relocated.
  EXPECT_FALSE(h.characteristics & pe::kFileRelocsStripped);
  EXPECT_GT(Image().Directory(pe::kBaseRelocDirectory).size, 0u) << "relocations stripped";
  // No link time stamp, no symbols, no debug directory.
  EXPECT_EQ(h.timeDateStamp, 0u);
  EXPECT_EQ(h.symbolTable, 0u);
  EXPECT_EQ(h.symbolCount, 0u);
  EXPECT_EQ(Image().Directory(pe::kDebugDirectory).size, 0u);
}

TEST_F(UpdateExeTest, ImportsOnlyWindowsSystemDlls) {
  // The C runtime msvcrt.dll is part of Windows; the MinGW runtime DLLs
  // (libgcc, libstdc++, winpthread) must not appear.
  const std::set<std::string> system = {"kernel32.dll", "user32.dll", "shell32.dll",
                                        "shlwapi.dll",  "ole32.dll",  "msvcrt.dll"};
  std::vector<pe::Import> imports = Image().Imports();
  EXPECT_FALSE(imports.empty());
  for (const pe::Import &import : imports) {
    EXPECT_TRUE(system.count(Lower(import.dll))) << import.dll << " is not a Windows system DLL";
    // Older systems lack it; imported, it would stop the program from
    // starting there. It is looked up at run time instead.
    for (const std::string &function : import.functions) EXPECT_NE(function, "SetDefaultDllDirectories");
  }
  EXPECT_EQ(Image().Directory(pe::kDelayImportDirectory).size, 0u) << "delay-loaded DLLs";
}

TEST_F(UpdateExeTest, DialogTemplatePatchByteForByte) {
  struct Control {
    uint32_t id;
    uint16_t atom;
    uint32_t style;
    uint16_t x, y, width, height;
    const char *text;
  };
  const uint16_t kButton = 0x0080, kEdit = 0x0081;
  const Control controls[] = {
      {1, kButton, 0x50010001, 78, 48, 50, 14, u8"実行"},
      {2, kButton, 0x50010000, 180, 48, 50, 14, u8"終了"},
      {1001, kEdit, 0x50810880, 12, 18, 294, 14, ""},
      {0xFFFFFFFF, kButton, 0x50000007, 6, 6, 306, 36, u8"下記のインストール先に拡張処理を行います。"},
  };

  Bytes t;
  t.U16(1);       // version
  t.U16(0xFFFF);  // extended template
  t.U32(0);       // help id
  t.U32(0);       // extended style
  t.U32(0x80C808C8);
  t.U16(4);  // controls
  t.U16(0);  // x, y, width, height
  t.U16(0);
  t.U16(316);
  t.U16(75);
  t.U16(0);  // no menu
  t.U16(0);  // the platform's dialog class
  t.Text(u8"拡張パック確認");
  t.U16(8);    // points
  t.U16(400);  // weight
  t.U8(0);     // not italic
  t.U8(1);     // DEFAULT_CHARSET
  t.Text("MS Shell Dlg");
  for (const Control &c : controls) {
    t.Align4();
    t.U32(0);  // help id
    t.U32(0);  // extended style
    t.U32(c.style);
    t.U16(c.x);
    t.U16(c.y);
    t.U16(c.width);
    t.U16(c.height);
    t.U32(c.id);
    t.U16(0xFFFF);  // a predefined class, by atom
    t.U16(c.atom);
    t.Text(c.text);
    t.U16(0);  // no creation data
  }

  std::vector<pe::Resource> found = Find(pe::kRtDialog, u"PATCH");
  ASSERT_EQ(found.size(), 1u) << "one template PATCH, in one language";
  EXPECT_EQ(found[0].language, 1041);
  EXPECT_EQ(FirstDifference(t.Get(), found[0].bytes), "none");
}

TEST_F(UpdateExeTest, ManifestRequestsAdministratorOnTheSupportedSystems) {
  std::vector<pe::Resource> found = Find(pe::kRtManifest, uint16_t{1});
  ASSERT_EQ(found.size(), 1u);
  // Comments would let a commented-out element pass for a real one.
  const std::string manifest = std::regex_replace(found[0].bytes, std::regex("<!--[\\s\\S]*?-->"), "");

  const std::string tag = "<requestedExecutionLevel";
  const size_t at = manifest.find(tag);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(manifest.find(tag, at + 1), std::string::npos) << "a second execution level";
  const std::string element = manifest.substr(at, manifest.find('>', at) - at);
  EXPECT_NE(element.find("level=\"requireAdministrator\""), std::string::npos) << element;
  EXPECT_NE(element.find("uiAccess=\"false\""), std::string::npos) << element;

  const std::map<std::string, std::string> expected = {
      {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "Vista"}, {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "7"},
      {"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "8"},     {"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "8.1"},
      {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "10"},
  };
  std::map<std::string, std::string> supported;
  std::regex os("<supportedOS\\s+Id=\"([^\"]*)\"");
  for (std::sregex_iterator m(manifest.begin(), manifest.end(), os), end; m != end; ++m) {
    const std::string id = Lower((*m)[1]);
    supported[id] = expected.count(id) ? expected.at(id) : "unknown";
  }
  EXPECT_EQ(supported, expected);
}

TEST_F(UpdateExeTest, IconGroupHolds32BitImagesOfEverySize) {
  std::vector<pe::Resource> groups;
  for (const pe::Resource &r : resources_) {
    if (r.type.Is(pe::kRtGroupIcon)) groups.push_back(r);
  }
  ASSERT_EQ(groups.size(), 1u);
  const std::string &g = groups[0].bytes;
  ASSERT_GE(g.size(), 6u);
  EXPECT_EQ(Le(g, 0, 2), 0u);  // reserved
  EXPECT_EQ(Le(g, 2, 2), 1u);  // icons, not cursors
  const uint32_t count = Le(g, 4, 2);
  ASSERT_EQ(g.size(), 6u + 14u * count);

  std::vector<uint32_t> sizes;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t e = 6 + 14 * i;
    const uint32_t side = Le(g, e, 1) ? Le(g, e, 1) : 256;  // 0 stands for 256
    SCOPED_TRACE(std::to_string(side) + " pixels");
    sizes.push_back(side);
    EXPECT_EQ(Le(g, e + 1, 1) ? Le(g, e + 1, 1) : 256, side);
    EXPECT_EQ(Le(g, e + 4, 2), 1u);   // planes
    EXPECT_EQ(Le(g, e + 6, 2), 32u);  // bits per pixel
    std::vector<pe::Resource> image = Find(pe::kRtIcon, static_cast<uint16_t>(Le(g, e + 12, 2)));
    ASSERT_EQ(image.size(), 1u);
    const std::string &bits = image[0].bytes;
    ASSERT_EQ(bits.size(), Le(g, e + 8, 4));

    // The image itself: a PNG of 8-bit RGBA, or a 32-bit bitmap whose
    // height counts the colour rows and the mask rows.
    if (bits.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
      ASSERT_EQ(bits.compare(12, 4, "IHDR"), 0);
      EXPECT_EQ(Be(bits, 16, 4), side);
      EXPECT_EQ(Be(bits, 20, 4), side);
      EXPECT_EQ(Be(bits, 24, 1), 8u);  // bits per sample
      EXPECT_EQ(Be(bits, 25, 1), 6u);  // RGBA
    } else {
      const uint32_t maskStride = (side + 31) / 32 * 4;
      EXPECT_EQ(Le(bits, 0, 4), 40u);  // BITMAPINFOHEADER
      EXPECT_EQ(Le(bits, 4, 4), side);
      EXPECT_EQ(Le(bits, 8, 4), side * 2);
      EXPECT_EQ(Le(bits, 14, 2), 32u);  // bits per pixel
      EXPECT_EQ(Le(bits, 16, 4), 0u);   // uncompressed
      EXPECT_EQ(bits.size(), 40u + side * side * 4u + maskStride * side);
    }
  }
  std::sort(sizes.rbegin(), sizes.rend());
  EXPECT_EQ(sizes, (std::vector<uint32_t>{256, 128, 96, 48, 32, 24, 16}));
}

TEST_F(UpdateExeTest, VersionNumbersAndStrings) {
  std::vector<pe::Resource> found = Find(pe::kRtVersion, uint16_t{1});
  ASSERT_EQ(found.size(), 1u);
  pe::VersionNode root = pe::ReadVersionInfo(found[0].bytes);
  EXPECT_EQ(root.key, u"VS_VERSION_INFO");

  const pe::FixedFileInfo fixed = pe::ReadFixedFileInfo(root);
  EXPECT_EQ(fixed.signature, 0xFEEF04BDu);
  EXPECT_EQ(fixed.fileVersionMS, 0x00010000u);  // 1.0
  EXPECT_EQ(fixed.fileVersionLS, 0x00010000u);  // .1.0
  EXPECT_EQ(fixed.productVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.productVersionLS, 0x00010000u);
  EXPECT_EQ(fixed.fileOS, 0x00040004u);  // VOS_NT_WINDOWS32
  EXPECT_EQ(fixed.fileType, 1u);         // VFT_APP

  // The properties page finds the strings through the translation: the
  // table must be named after it.
  const pe::VersionNode *translation =
      root.Child(u"VarFileInfo") ? root.Child(u"VarFileInfo")->Child(u"Translation") : nullptr;
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(translation->value, std::string("\x11\x04\xB0\x04", 4));  // Japanese, UTF-16
  const pe::VersionNode *files = root.Child(u"StringFileInfo");
  ASSERT_NE(files, nullptr);
  const pe::VersionNode *table = files->Child(u"041104B0");
  ASSERT_NE(table, nullptr);

  std::map<std::u16string, std::u16string> strings;
  for (const pe::VersionNode &s : table->children) strings[s.key] = s.text;
  EXPECT_EQ(strings[u"InternalName"], Utf16(u8"更新プログラム"));
  EXPECT_EQ(strings[u"FileVersion"], Utf16("1.0.1.0"));
  EXPECT_EQ(strings[u"ProductVersion"], Utf16("1.0.1.0"));
  EXPECT_EQ(strings[u"OriginalFilename"], Utf16("update.exe"));
  for (const char *key : {"CompanyName", "FileDescription", "LegalCopyright", "ProductName"}) {
    EXPECT_FALSE(strings[Utf16(key)].empty()) << "no " << key;
  }
}

}  // namespace
