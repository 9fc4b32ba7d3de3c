// The package module as a file: its resources and its exports, read back
// through the system without running the package.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vcl/Packages.h"

namespace {

const char kPackage[] = "OpenGLLumo.bpl";

std::string U32(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}
std::string U16(std::uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Z(const char* s) { return std::string(s) + '\0'; }
std::string Unit(char flags, const char* name) { return std::string{flags, 0} + Z(name); }

// The package information, written out field by field from its format.
std::string ExpectedPackageInfo() {
  std::string s = U32(0x48000001) + U32(2) + '\0' + Z("rtl100.bpl") + '\0' + Z("vcl100.bpl");
  s += U32(15) + Unit(0x00, "Sysinit");
  for (const char* weak : {"Windows", "Messages", "Commctrl", "Urlmon", "Wininet", "Regstr",
                           "Shellapi", "Shlobj", "Commdlg", "Dlgs", "Imm", "Winspool"})
    s += Unit(0x0C, weak);
  s += Unit(0x00, "Opengllumo") + Unit(0x00, "Topengllumopanel");
  s += '\0' + Z("OpenGLLumo");
  return s + std::string(4, '\0');
}

// A file beside the test program.
std::string ReadFile(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string file = path;
  file = file.substr(0, file.find_last_of("\\/") + 1) + name;
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct PackageFile : ::testing::Test {
  void SetUp() override {
    module = LoadLibraryExA(kPackage, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << GetLastError();
  }
  void TearDown() override { FreeLibrary(module); }

  std::string Resource(const char* name, const char* type) const {
    HRSRC info = FindResourceA(module, name, type);
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    if (!data) return "<missing>";
    return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(module, info));
  }

  HMODULE module = nullptr;
};

TEST_F(PackageFile, RawDataResourcesHoldTheirBytes) {
  EXPECT_EQ(Resource("PACKAGEINFO", RT_RCDATA), ExpectedPackageInfo());
  std::string description;
  for (char c : std::string("OpenGLLumo")) description += std::string{c, 0};
  EXPECT_EQ(Resource("DESCRIPTION", RT_RCDATA), description + std::string(2, '\0'));
  EXPECT_EQ(Resource("PACKAGEOPTIONS", RT_RCDATA), U32(0x00000030));
}

TEST_F(PackageFile, MainIconIsOne32By32ImageOf16Colours) {
  std::string ico = ReadFile("Opengllumo.ico");
  ASSERT_EQ(ico.size(), 6u + 16u + 40u + 64u + 512u + 128u);
  const std::string image = ico.substr(22);
  // The group: one entry, 32x32, 16 colours, 1 plane, 4 bits, its size, icon 1.
  const std::string group = U16(0) + U16(1) + U16(1) + std::string{32, 32, 16, 0} + U16(1) +
                            U16(4) + U32(static_cast<std::uint32_t>(image.size())) + U16(1);
  EXPECT_EQ(Resource("MAINICON", RT_GROUP_ICON), group);
  std::string icon = Resource(MAKEINTRESOURCEA(1), RT_ICON);
  EXPECT_EQ(icon, image);
  // The image's own header: 32 wide, twice 32 high (colours and mask), 4 bits.
  EXPECT_EQ(icon.substr(0, 16), U32(40) + U32(32) + U32(64) + U16(1) + U16(4));
}

TEST_F(PackageFile, VersionResourceDescribesTheComponent) {
  std::string version = Resource(MAKEINTRESOURCEA(1), RT_VERSION);
  ASSERT_NE(version, "<missing>");
  std::vector<char> copy(version.begin(), version.end());
  copy.resize(copy.size() * 3);  // room for the ANSI strings VerQueryValue may add
  char* text = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(copy.data(), "\\StringFileInfo\\040904E4\\FileDescription",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_STREQ(text, "OpenGL Component");
}

// The export directory of a mapped module, read as the loader reads it.
std::vector<std::string> ExportNames(HMODULE module, DWORD& functions) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const auto* dir = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  functions = dir->NumberOfFunctions;
  const auto* names = reinterpret_cast<const DWORD*>(base + dir->AddressOfNames);
  std::vector<std::string> result;
  for (DWORD i = 0; i < dir->NumberOfNames; ++i)
    result.push_back(reinterpret_cast<const char*>(base + names[i]));
  std::sort(result.begin(), result.end());
  return result;
}

TEST(PackageExports, ExactlyTheNineEntries) {
  // Mapped as an image but not initialized as a package.
  HMODULE module = LoadLibraryA(kPackage);
  ASSERT_NE(module, nullptr);
  DWORD functions = 0;
  std::vector<std::string> expected = {
      "Initialize",
      "Finalize",
      "@Opengllumo@Initialization$qqrv",
      "@Opengllumo@Finalization$qqrv",
      "@Topengllumopanel@Register$qqrv",
      "@$xp$19System@TNotifyEvent",
      "@Topengllumopanel@Initialization$qqrv",
      "@Topengllumopanel@Finalization$qqrv",
      "___CPPdebugHook"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ExportNames(module, functions), expected);
  EXPECT_EQ(functions, 9u);
  for (const std::string& name : expected)
    EXPECT_NE(GetProcAddress(module, name.c_str()), nullptr) << name;

  // The method type information: kind 8 (method), name, procedure, one
  // parameter with no flags named Sender of type TObject.
  const auto* info = reinterpret_cast<const char*>(
      reinterpret_cast<void*>(GetProcAddress(module, "@$xp$19System@TNotifyEvent")));
  EXPECT_EQ(std::string(info, 32), std::string("\x08\x0cTNotifyEvent\x00\x01\x00\x06Sender", 24) +
                                       "\x07TObject");
  FreeLibrary(module);
}

TEST(PackageExports, InformationAndDescriptionReadWithoutRunning) {
  TPackageInfo info = GetPackageInfo(kPackage);
  EXPECT_EQ(info.Flags, 0x48000001u);
  EXPECT_EQ(info.Flags & (pfDesignOnly | pfRunOnly), 0u);
  ASSERT_EQ(info.Requires.size(), 2u);
  EXPECT_EQ(info.Requires[0].Name, "rtl100.bpl");
  EXPECT_EQ(info.Requires[1].Name, "vcl100.bpl");
  ASSERT_EQ(info.Contains.size(), 15u);
  EXPECT_EQ(info.Contains[1].Name, "Windows");
  EXPECT_EQ(info.Contains[1].Flags, ufWeakUnit | ufOrgWeakUnit);
  EXPECT_EQ(info.Contains[14].Name, "Topengllumopanel");
  EXPECT_EQ(info.Name, "OpenGLLumo");
  EXPECT_EQ(GetPackageDescription(kPackage), "OpenGLLumo");
  // Nothing of it ran or stays.
  EXPECT_EQ(GetModuleHandleA(kPackage), nullptr);
}

}  // namespace
