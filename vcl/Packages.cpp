#include "Packages.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

namespace {

AnsiString Hex32(std::uint32_t Value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(Value));
  return text;
}

// The system's text for an error code, without the line break.
AnsiString SystemText(DWORD Code) {
  char text[260] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, Code, 0,
                 text, sizeof text, nullptr);
  AnsiString s = text;
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s.empty() ? "system error " + std::to_string(Code) : s;
}

// Reads the fields of a package information resource in order; every read
// checks that the bytes are there.
class InfoReader {
 public:
  InfoReader(const void* Data, std::size_t Size, const AnsiString& Where)
      : FData(static_cast<const std::uint8_t*>(Data)), FSize(Data ? Size : 0), FWhere(Where) {}

  std::uint8_t Byte(const char* What) {
    Need(1, What);
    return FData[FPos++];
  }

  std::uint32_t UInt32(const char* What) {
    Need(4, What);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | FData[FPos + i];
    FPos += 4;
    return v;
  }

  // A count of entries that each take at least EntryBytes.
  int Count(const char* What, std::size_t EntryBytes) {
    const std::size_t at = FPos;
    auto n = static_cast<std::int32_t>(UInt32(What));
    if (n < 0 || static_cast<std::size_t>(n) > (FSize - FPos) / EntryBytes)
      Fail(at, AnsiString("the ") + What + " " + std::to_string(n) + " does not fit the resource");
    return n;
  }

  AnsiString String(const char* What) {
    const std::size_t at = FPos;
    auto end = std::find(FData + FPos, FData + FSize, 0);
    if (end == FData + FSize) Fail(at, AnsiString("the ") + What + " has no terminating zero");
    AnsiString s(reinterpret_cast<const char*>(FData + FPos), end - (FData + FPos));
    if (s.empty()) Fail(at, AnsiString("the ") + What + " is empty");
    FPos += s.size() + 1;
    return s;
  }

  void ZeroFill() {
    for (std::size_t i = FPos; i < FSize; ++i)
      if (FData[i] != 0) Fail(i, "a byte after the package name is not zero");
  }

  [[noreturn]] void Fail(std::size_t At, const AnsiString& What) const {
    throw EPackageError(FWhere + ": malformed PACKAGEINFO at offset " + std::to_string(At) + ": " +
                        What);
  }

 private:
  void Need(std::size_t Bytes, const char* What) const {
    if (FSize - FPos < Bytes) Fail(FPos, AnsiString("the resource ends inside the ") + What);
  }

  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
  AnsiString FWhere;
};

// A module loaded for reading or running, freed unless released.
class ModuleGuard {
 public:
  explicit ModuleGuard(HMODULE Module) : FModule(Module) {}
  ~ModuleGuard() {
    if (FModule) FreeLibrary(FModule);
  }
  ModuleGuard(const ModuleGuard&) = delete;
  ModuleGuard& operator=(const ModuleGuard&) = delete;
  HMODULE Release() { return std::exchange(FModule, nullptr); }

 private:
  HMODULE FModule;
};

// The bytes of a raw-data resource, or false when the module has none.
bool FindRawData(HMODULE Module, const char* Name, const void*& Data, std::size_t& Size) {
  HRSRC info = FindResourceA(Module, Name, MAKEINTRESOURCEA(10));
  HGLOBAL handle = info ? LoadResource(Module, info) : nullptr;
  if (!handle) return false;
  Data = LockResource(handle);
  Size = SizeofResource(Module, info);
  return Data != nullptr;
}

TPackageInfo ReadModuleInfo(HMODULE Module, const AnsiString& FileName) {
  const void* data = nullptr;
  std::size_t size = 0;
  if (!FindRawData(Module, "PACKAGEINFO", data, size))
    throw EPackageError(FileName + " is not a package: it has no PACKAGEINFO resource");
  return ParsePackageInfo(data, size, FileName);
}

HMODULE OpenAsData(const AnsiString& FileName) {
  HMODULE m = LoadLibraryExA(FileName.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!m) throw EPackageError("Cannot open package " + FileName + ": " + SystemText(GetLastError()));
  return m;
}

AnsiString ModuleFileName(HMODULE Module) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(Module, path, sizeof path);
  return path;
}

typedef void (*PackageProc)();

PackageProc PackageExport(HMODULE Module, const AnsiString& Name) {
  return reinterpret_cast<PackageProc>(
      reinterpret_cast<void*>(GetProcAddress(Module, Name.c_str())));
}

// One load of a package, with the required packages it brought in.
struct PackageLoadRecord {
  HMODULE Module;
  std::vector<HMODULE> Brought;
};
std::vector<PackageLoadRecord>& Loads() {
  static std::vector<PackageLoadRecord> loads;
  return loads;
}

// Unloads, last first, the packages one load brought in; used on success and
// when the load fails part way.
void UnloadAll(const std::vector<HMODULE>& Modules) {
  for (auto it = Modules.rbegin(); it != Modules.rend(); ++it) UnloadPackage(*it);
}

class BroughtGuard {
 public:
  ~BroughtGuard() { UnloadAll(Modules); }
  std::vector<HMODULE> Release() { return std::exchange(Modules, {}); }
  std::vector<HMODULE> Modules;
};

std::vector<HMODULE> LoadRequired(const TPackageInfo& Info, const AnsiString& FileName) {
  BroughtGuard brought;
  for (const TPackageRequire& r : Info.Requires) {
    if (GetModuleHandleA(r.Name.c_str())) continue;
    try {
      brought.Modules.push_back(LoadPackage(r.Name));
    } catch (const EPackageError& e) {
      throw EPackageError(FileName + " requires the package " + r.Name +
                          ", which cannot be loaded: " + e.Message());
    }
  }
  return brought.Release();
}

std::vector<TPalettePage>& Pages() {
  static std::vector<TPalettePage> pages;
  return pages;
}

bool InModule(const void* Address, HMODULE Module) {
  HMODULE owner = nullptr;
  return GetModuleHandleExA(
             GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
             static_cast<const char*>(Address), &owner) &&
         owner == Module;
}

// Classes whose class reference lives in a module that goes away must not
// stay reachable by name or on the palette.
void UnRegisterModuleClasses(HMODULE Module) {
  for (TPalettePage& page : Pages()) {
    std::erase_if(page.Classes, [Module](TComponentClass c) {
      if (!InModule(c, Module)) return false;
      UnRegisterClass(*c);
      return true;
    });
  }
  std::erase_if(Pages(), [](const TPalettePage& page) { return page.Classes.empty(); });
}

void CheckComponentClass(const AnsiString& Page, const TComponentClass* Classes, int Index) {
  TComponentClass c = Classes[Index];
  if (!c)
    throw EComponentError("RegisterComponents: class " + std::to_string(Index) + " for page " +
                          Page + " is null");
  if (!c->Create || !c->InheritsFrom(TComponent::StaticClass()))
    throw EComponentError("RegisterComponents: " + AnsiString(c->Name) + " for page " + Page +
                          " is not a component class");
}

TPalettePage& PageNamed(const AnsiString& Name) {
  for (TPalettePage& page : Pages())
    if (page.Name == Name) return page;
  Pages().push_back({Name, {}});
  return Pages().back();
}

TLibModule*& LibModules() {
  static TLibModule* first = nullptr;
  return first;
}

void FinalizeUnits(const TPackageUnitTable& Table, int Count) {
  for (int i = Count - 1; i >= 0; --i)
    if (Table.Units[i].FInit) Table.Units[i].FInit();
}

}  // namespace

TPackageInfo ParsePackageInfo(const void* Data, std::size_t Size, const AnsiString& Where) {
  InfoReader in(Data, Size, Where);
  TPackageInfo info;
  info.Flags = in.UInt32("flags");
  if ((info.Flags & pfModuleTypeMask) != pfPackageModule)
    in.Fail(0, "the flags " + Hex32(info.Flags) + " do not mark a package module");
  int required = in.Count("required-package count", 2);
  for (int i = 0; i < required; ++i) {
    TPackageRequire r;
    r.Hash = in.Byte("required package");
    r.Name = in.String("required package name");
    info.Requires.push_back(r);
  }
  int units = in.Count("contained-unit count", 3);
  for (int i = 0; i < units; ++i) {
    TPackageUnit u;
    u.Flags = in.Byte("contained unit");
    u.Hash = in.Byte("contained unit");
    u.Name = in.String("unit name");
    info.Contains.push_back(u);
  }
  info.NameHash = in.Byte("package name");
  info.Name = in.String("package name");
  in.ZeroFill();
  return info;
}

TPackageInfo GetPackageInfo(const AnsiString& FileName) {
  HMODULE m = OpenAsData(FileName);
  ModuleGuard guard(m);
  return ReadModuleInfo(m, FileName);
}

AnsiString GetPackageDescription(const AnsiString& FileName) {
  HMODULE m = OpenAsData(FileName);
  ModuleGuard guard(m);
  const void* data = nullptr;
  std::size_t size = 0;
  if (!FindRawData(m, "DESCRIPTION", data, size)) return "";
  const auto* text = static_cast<const wchar_t*>(data);
  std::size_t chars = size / sizeof(wchar_t);
  std::size_t length = std::find(text, text + chars, L'\0') - text;
  if (length == chars)
    throw EPackageError(FileName + ": the DESCRIPTION resource has no terminating zero");
  int bytes = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr,
                                  nullptr);
  AnsiString s(bytes, '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), s.data(), bytes, nullptr, nullptr);
  return s;
}

HMODULE LoadPackage(const AnsiString& FileName) {
  HMODULE m = LoadLibraryA(FileName.c_str());
  if (!m) throw EPackageError("Cannot load package " + FileName + ": " + SystemText(GetLastError()));
  // Declared in this order, a failure frees the module before what it required.
  BroughtGuard brought;
  ModuleGuard module(m);
  TPackageInfo info = ReadModuleInfo(m, FileName);
  brought.Modules = LoadRequired(info, FileName);
  PackageProc initialize = PackageExport(m, "Initialize");
  if (!initialize) throw EPackageError(FileName + " is not a package: it exports no Initialize");
  if (!PackageExport(m, "Finalize"))
    throw EPackageError(FileName + " is not a package: it exports no Finalize");
  // NOTE: an exception made in the module carries the module's vtable; it
  // must be gone before the module is freed, or its handler reads freed code.
  try {
    initialize();
  } catch (const std::exception& e) {
    throw EPackageError(FileName + ": Initialize failed: " + e.what());
  }
  Loads().push_back({module.Release(), brought.Release()});
  return m;
}

void UnloadPackage(HMODULE Module) {
  auto& loads = Loads();
  auto it = std::find_if(loads.rbegin(), loads.rend(),
                         [Module](const PackageLoadRecord& r) { return r.Module == Module; });
  if (it == loads.rend()) throw EPackageError("UnloadPackage: the module is not a loaded package");
  // Declared in this order, the module is freed before what it required,
  // even when Finalize raises.
  BroughtGuard brought;
  brought.Modules = std::move(it->Brought);
  loads.erase(std::next(it).base());
  ModuleGuard module(Module);
  bool last = std::none_of(loads.begin(), loads.end(),
                           [Module](const PackageLoadRecord& r) { return r.Module == Module; });
  if (last) UnRegisterModuleClasses(Module);
  PackageExport(Module, "Finalize")();
}

void RegisterPackageComponents(HMODULE Module) {
  TPackageInfo info = ReadModuleInfo(Module, ModuleFileName(Module));
  for (const TPackageUnit& unit : info.Contains)
    if (PackageProc reg = PackageExport(Module, "@" + unit.Name + "@Register$qqrv")) reg();
}

void PackageLoad(const TPackageUnitTable& Table, TLibModule& Module) {
  int done = 0;
  try {
    for (; done < Table.UnitCount; ++done)
      if (Table.Units[done].Init) Table.Units[done].Init();
  } catch (...) {
    FinalizeUnits(Table, done);
    throw;
  }
  if (Module.LoadCount++ > 0) return;
  Module.Next = LibModules();
  LibModules() = &Module;
}

void PackageUnload(const TPackageUnitTable& Table, TLibModule& Module) {
  FinalizeUnits(Table, Table.UnitCount);
  if (Module.LoadCount == 0 || --Module.LoadCount > 0) return;
  for (TLibModule** link = &LibModules(); *link; link = &(*link)->Next) {
    if (*link != &Module) continue;
    *link = Module.Next;
    return;
  }
}

const TLibModule* FindLibModule(HINSTANCE Instance) {
  for (const TLibModule* m = LibModules(); m; m = m->Next)
    if (m->Instance == Instance) return m;
  return nullptr;
}

const std::vector<TPalettePage>& Palette() { return Pages(); }

void RegisterComponents(const AnsiString& Page, const TComponentClass* Classes, int LastIndex) {
  if (Page.empty()) throw EComponentError("RegisterComponents: the page name is empty");
  if (LastIndex >= 0 && !Classes)
    throw EComponentError("RegisterComponents: no class array for page " + Page);
  for (int i = 0; i <= LastIndex; ++i) CheckComponentClass(Page, Classes, i);
  if (LastIndex < 0) return;
  TPalettePage& page = PageNamed(Page);
  for (int i = 0; i <= LastIndex; ++i) {
    RegisterClass(*Classes[i]);
    if (std::find(page.Classes.begin(), page.Classes.end(), Classes[i]) == page.Classes.end())
      page.Classes.push_back(Classes[i]);
  }
}
