// The package unit: the frame of the package OpenGLLumo. Initialize and
// Finalize hand the unit table and the module record to the framework;
// the exports are named in Opengllumo.def.
#include <windows.h>

#include "vcl/Packages.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

// The component unit's initialization and finalization.
extern "C" void TopengllumopanelInitialization();
extern "C" void TopengllumopanelFinalization();

namespace {

int InitCount = 0;

}  // namespace

// Neither unit has work of its own; the counter only nests loads.
extern "C" void OpengllumoInitialization() { ++InitCount; }
extern "C" void OpengllumoFinalization() { --InitCount; }

namespace {

// The units in the order of the package information: Sysinit, the twelve
// weak header units, then the package's own two.
const TPackageUnitEntry kUnits[15] = {
    {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr},
    {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr},
    {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr},
    {nullptr, nullptr},
    {&OpengllumoInitialization, &OpengllumoFinalization},
    {&TopengllumopanelInitialization, &TopengllumopanelFinalization}};
const TPackageUnitTable kUnitTable = {15, kUnits};

TLibModule Module = {nullptr, reinterpret_cast<HINSTANCE>(&__ImageBase), 0};

}  // namespace

extern "C" void Initialize() { PackageLoad(kUnitTable, Module); }
extern "C" void Finalize() { PackageUnload(kUnitTable, Module); }

// The type information of the notify event type, laid out as the platform's
// method type information: kind (method), name, method kind (procedure),
// parameter count, then per parameter its flags, name and type name.
extern "C" const unsigned char NotifyEventTypeInfo[] = {
    8,   12,  'T', 'N', 'o', 't', 'i', 'f', 'y', 'E', 'v', 'e', 'n', 't', 0,   1,
    0,   6,   'S', 'e', 'n', 'd', 'e', 'r', 7,   'T', 'O', 'b', 'j', 'e', 'c', 't'};

// The run-time library's debugger hook; nothing here sets it.
extern "C" {
int CPPdebugHook = 0;
}
