// Loading and unloading packages, and the errors of modules that are not
// good packages.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "vcl/Packages.h"

namespace {

bool Loaded(const char* file) { return GetModuleHandleA(file) != nullptr; }

int LoadCount(HMODULE module) {
  const TLibModule* m = FindLibModule(module);
  return m ? m->LoadCount : 0;
}

TEST(PackageLoad, LoadTwiceUnloadAndLoadAgain) {
  ASSERT_FALSE(Loaded("OpenGLLumo.bpl"));
  HMODULE first = LoadPackage("OpenGLLumo.bpl");
  HMODULE second = LoadPackage("OpenGLLumo.bpl");
  EXPECT_EQ(first, second);
  EXPECT_EQ(LoadCount(first), 2);

  UnloadPackage(second);
  EXPECT_TRUE(Loaded("OpenGLLumo.bpl"));
  EXPECT_EQ(LoadCount(first), 1);
  UnloadPackage(first);
  EXPECT_FALSE(Loaded("OpenGLLumo.bpl"));

  HMODULE again = LoadPackage("OpenGLLumo.bpl");
  EXPECT_EQ(LoadCount(again), 1);
  UnloadPackage(again);
  EXPECT_FALSE(Loaded("OpenGLLumo.bpl"));
  EXPECT_THROW(UnloadPackage(again), EPackageError);
}

TEST(PackageLoad, RequiredPackageIsBroughtInAndTakenOutWithIt) {
  ASSERT_FALSE(Loaded("lumo_base.bpl"));
  HMODULE module = LoadPackage("lumo_needs_base.bpl");
  EXPECT_TRUE(Loaded("lumo_base.bpl"));
  EXPECT_EQ(LoadCount(GetModuleHandleA("lumo_base.bpl")), 1);
  UnloadPackage(module);
  EXPECT_FALSE(Loaded("lumo_needs_base.bpl"));
  EXPECT_FALSE(Loaded("lumo_base.bpl"));
}

TEST(PackageLoad, BadModulesAreRefusedAndLeaveNothingLoaded) {
  struct Case {
    const char* file;
    const char* error;
  } cases[] = {
      {"lumo_not_package.bpl", "lumo_not_package.bpl is not a package: it has no PACKAGEINFO resource"},
      {"lumo_malformed.bpl",
       "lumo_malformed.bpl: malformed PACKAGEINFO at offset 8: the contained-unit count 2 does not fit "
       "the resource"},
      {"lumo_missing_require.bpl",
       "lumo_missing_require.bpl requires the package lumo_absent.bpl, which cannot be loaded: "
       "Cannot load package lumo_absent.bpl: "},
      {"lumo_no_initialize.bpl", "lumo_no_initialize.bpl is not a package: it exports no Initialize"},
      {"lumo_nowhere.bpl", "Cannot load package lumo_nowhere.bpl: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    try {
      LoadPackage(c.file);
      ADD_FAILURE() << "loaded";
    } catch (const EPackageError& e) {
      EXPECT_EQ(e.Message().substr(0, std::string(c.error).size()), c.error) << e.Message();
    }
    EXPECT_FALSE(Loaded(c.file));
    EXPECT_FALSE(Loaded("lumo_absent.bpl"));
  }
}

TEST(PackageLoad, ExceptionFromInitializeReachesTheHostAndFreesTheModule) {
  // Thrown in the fixture module, caught in rtl100.bpl, passed on to here.
  try {
    LoadPackage("lumo_raises.bpl");
    ADD_FAILURE() << "loaded";
  } catch (const EPackageError& e) {
    EXPECT_EQ(e.Message(),
              "lumo_raises.bpl: Initialize failed: the fixture's units refuse to initialize");
  }
  EXPECT_FALSE(Loaded("lumo_raises.bpl"));
}

TEST(PackageLoad, ExceptionFromTheFrameworkModuleIsCaughtByType) {
  // FindClass raises inside rtl100.bpl; the handler here matches its class.
  EXPECT_THROW(FindClass("TNoSuchClass"), EClassNotFound);
}

TEST(PackageInfo, MalformedResourcesNameOffsetAndFault) {
  const std::string flags = std::string("\x01\x00\x00\x48", 4);
  const std::string none = std::string(4, '\0');
  struct Case {
    std::string bytes;
    const char* error;
  } cases[] = {
      {"", "at offset 0: the resource ends inside the flags"},
      {std::string("\x01\x00\x00\x00", 4) + none + none + "\0X\0",
       "at offset 0: the flags 0x00000001 do not mark a package module"},
      {flags + "\x02\x00", "at offset 4: the resource ends inside the required-package count"},
      {flags + std::string("\xff\xff\xff\xff", 4), "at offset 4: the required-package count -1 does not fit"},
      {flags + std::string("\x00\x01\x00\x00", 4) + none, "at offset 4: the required-package count 256 does not fit"},
      {flags + std::string("\x01\x00\x00\x00", 4) + std::string("\0rtl", 4),
       "at offset 9: the required package name has no terminating zero"},
      {flags + std::string("\x01\x00\x00\x00", 4) + std::string("\0\0", 2) + none + "\0X\0",
       "at offset 9: the required package name is empty"},
      {flags + none + none, "at offset 12: the resource ends inside the package name"},
      {flags + none + none + std::string("\0P\0\0\x07", 5), "at offset 16: a byte after the package name is not zero"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    try {
      ParsePackageInfo(c.bytes.data(), c.bytes.size(), "x.bpl");
      ADD_FAILURE() << "accepted";
    } catch (const EPackageError& e) {
      EXPECT_NE(e.Message().find(std::string("x.bpl: malformed PACKAGEINFO ") + c.error),
                std::string::npos)
          << e.Message();
    }
  }
}

}  // namespace
