// Run-time packages: modules that describe themselves in a "PACKAGEINFO"
// resource and export Initialize and Finalize; and the component palette their
// registration procedures fill.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Classes.h"

// Flags of a package's information.
const std::uint32_t pfNeverBuild = 0x00000001;
const std::uint32_t pfDesignOnly = 0x00000002;
const std::uint32_t pfRunOnly = 0x00000004;
const std::uint32_t pfProducerMask = 0x0C000000;
const std::uint32_t pfModuleTypeMask = 0xC0000000;
const std::uint32_t pfPackageModule = 0x40000000;

// Flags of a contained unit.
const std::uint8_t ufMainUnit = 0x01;
const std::uint8_t ufPackageUnit = 0x02;
const std::uint8_t ufWeakUnit = 0x04;
const std::uint8_t ufOrgWeakUnit = 0x08;
const std::uint8_t ufImplicitUnit = 0x10;

struct TPackageRequire {
  std::uint8_t Hash;
  AnsiString Name;
};

struct TPackageUnit {
  std::uint8_t Flags;
  std::uint8_t Hash;
  AnsiString Name;
};

// What a package's "PACKAGEINFO" resource says.
struct TPackageInfo {
  std::uint32_t Flags = 0;
  std::vector<TPackageRequire> Requires;
  std::vector<TPackageUnit> Contains;
  std::uint8_t NameHash = 0;
  AnsiString Name;
};

class EPackageError : public Exception {
  using Exception::Exception;
};

// Reads the bytes of a "PACKAGEINFO" resource; raises EPackageError naming
// Where, the offset and what is wrong.
TPackageInfo ParsePackageInfo(const void* Data, std::size_t Size, const AnsiString& Where);

// A package's information and description, read without running the module.
TPackageInfo GetPackageInfo(const AnsiString& FileName);
AnsiString GetPackageDescription(const AnsiString& FileName);

// Loads a package: the module, its information, the packages it requires,
// then its Initialize. Loading a loaded package again nests. On any failure
// nothing of it stays loaded and EPackageError names the file and the fault.
HMODULE LoadPackage(const AnsiString& FileName);
// Finalize, free the module, then the required packages its load brought in.
// Classes the module registered leave the registry and the palette.
void UnloadPackage(HMODULE Module);

// Calls the registration procedure of each contained unit that has one, as
// the designer does after loading a package.
void RegisterPackageComponents(HMODULE Module);

// The unit table a package's Initialize hands to PackageLoad: the contained
// units in order, each with its initialization and finalization or null.
struct TPackageUnitEntry {
  void (*Init)();
  void (*FInit)();
};
struct TPackageUnitTable {
  int UnitCount;
  const TPackageUnitEntry* Units;
};

// A package's module record, kept in the list of loaded modules while it is
// initialized. LoadCount counts nested loads.
struct TLibModule {
  TLibModule* Next;
  HINSTANCE Instance;
  int LoadCount;
};

// Runs the units' initializations in table order; if one raises, those
// already run are finalized in reverse and the exception passes on.
void PackageLoad(const TPackageUnitTable& Table, TLibModule& Module);
// Runs the units' finalizations in reverse order.
void PackageUnload(const TPackageUnitTable& Table, TLibModule& Module);
// The record of an initialized module, or null.
const TLibModule* FindLibModule(HINSTANCE Instance);

// The component palette: pages in the order they were first named, each with
// its classes in registration order.
struct TPalettePage {
  AnsiString Name;
  std::vector<TComponentClass> Classes;
};
const std::vector<TPalettePage>& Palette();

// Puts Classes[0..LastIndex] on the palette page Page and in the class
// registry. Raises EComponentError for an empty page name or a class that
// is null or no component class.
void RegisterComponents(const AnsiString& Page, const TComponentClass* Classes, int LastIndex);

class EComponentError : public Exception {
  using Exception::Exception;
};
