#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "PanelForm.h"
#include "platform/PlatformOps.h"
#include "support/HandleLedger.h"

using platform::Replace;
using platform::sys;

namespace {

typedef BOOL(WINAPI* ChooseARB)(HDC, const int*, const FLOAT*, UINT, int*, UINT*);
typedef BOOL(WINAPI* AttribivARB)(HDC, int, int, UINT, const int*, int*);
const int WGL_SAMPLES_ARB = 0x2042;

ChooseARB RealChooseARB() {
  return reinterpret_cast<ChooseARB>(
      reinterpret_cast<void*>(platform::real.wglGetProcAddress("wglChoosePixelFormatARB")));
}

// The samples of the format the window got; needs a current context.
int Samples(HDC DC) {
  auto attrib = reinterpret_cast<AttribivARB>(
      reinterpret_cast<void*>(wglGetProcAddress("wglGetPixelFormatAttribivARB")));
  int key = WGL_SAMPLES_ARB, value = -1;
  if (!attrib || !attrib(DC, GetPixelFormat(DC), 0, 1, &key, &value)) return -1;
  return value;
}

int SamplesAskedFor(const int* Attributes) {
  for (int i = 0; Attributes[i]; i += 2)
    if (Attributes[i] == WGL_SAMPLES_ARB) return Attributes[i + 1];
  return 0;
}

// Stands in for the driver's entry point.
template <ChooseARB Fake>
PROC Offering(LPCSTR Name) {
  if (std::string(Name) == "wglChoosePixelFormatARB") return reinterpret_cast<PROC>(reinterpret_cast<void*>(Fake));
  return platform::real.wglGetProcAddress(Name);
}

int twoSampleIndex;
BOOL WINAPI OnlyTwoSamples(HDC dc, const int* ints, const FLOAT* floats, UINT max, int* format,
                           UINT* found) {
  *found = 0;
  if (SamplesAskedFor(ints) != 2) return FALSE;
  BOOL ok = RealChooseARB()(dc, ints, floats, max, format, found);
  twoSampleIndex = *format;
  return ok;
}

BOOL WINAPI TrueWithoutFormats(HDC, const int*, const FLOAT*, UINT, int* format, UINT* found) {
  *format = 5;
  *found = 0;
  return TRUE;
}

std::vector<std::vector<int>> sentLists;
BOOL WINAPI RecordingNoneFound(HDC dc, const int* ints, const FLOAT* floats, UINT max,
                               int* format, UINT* found) {
  sentLists.emplace_back(ints, ints + 22);
  EXPECT_EQ(floats[0], 0.0f);
  EXPECT_EQ(floats[1], 0.0f);
  EXPECT_EQ(max, 1u);
  RealChooseARB()(dc, ints, floats, max, format, found);
  *found = 0;
  return TRUE;
}

}  // namespace

TEST(MultiSample, TheRealQueryGivesThePanelAFourSampleFormat) {
  static std::vector<HDC> chosenOn;
  static std::vector<PIXELFORMATDESCRIPTOR> setWith;  // the probe's request, then the panel's
  chosenOn.clear();
  setWith.clear();
  Replace choose(sys.ChoosePixelFormat, [](HDC dc, const PIXELFORMATDESCRIPTOR* r) {
    chosenOn.push_back(dc);
    return platform::real.ChoosePixelFormat(dc, r);
  });
  Replace set(sys.SetPixelFormat, [](HDC dc, int f, const PIXELFORMATDESCRIPTOR* r) {
    setWith.push_back(*r);
    return platform::real.SetPixelFormat(dc, f, r);
  });
  WatchedPanel w;
  w.p->SetMultiSample(true);
  ASSERT_TRUE(w.p->CreateRenderingContext());
  EXPECT_TRUE(w.p->FMultiSampleActive);
  EXPECT_TRUE(w.p->MultiSample());
  EXPECT_EQ(Samples(w.p->FDC), 4);
  ASSERT_EQ(chosenOn.size(), 1u);  // the probe's own, never the panel's
  EXPECT_NE(chosenOn[0], w.p->FDC);
  const PIXELFORMATDESCRIPTOR request = w.p->PixelFormatRequest();
  ASSERT_EQ(setWith.size(), 2u);
  for (const PIXELFORMATDESCRIPTOR& sent : setWith)
    EXPECT_EQ(std::memcmp(&sent, &request, sizeof request), 0);
  EXPECT_EQ(w.ledger.windows.obtained, 1);
  EXPECT_EQ(w.ledger.windows.released, 1);
  EXPECT_EQ(w.p->LastError(), "");
  EXPECT_EQ(w.Unbalanced(), "");
}

TEST(MultiSample, QueryLeavesNoContextCurrentAndNoProbeWindow) {
  PanelForm form;
  ManualPanel* other = form.Add(70);
  ASSERT_TRUE(other->CreateRenderingContext());
  ManualPanel* p = form.Add();
  HandleLedger ledger;
  int format = p->ChooseMultiSampleFormat();
  EXPECT_GT(format, 0);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(FindWindowA("MultiSampleOpenGLClass", nullptr), nullptr);
  EXPECT_EQ(ledger.Unbalanced(), "");
  EXPECT_EQ(ledger.contexts.obtained, 1);
}

TEST(MultiSample, SendsExactlyTheAttributeListFourSamplesThenTwo) {
  sentLists.clear();
  Replace driver(sys.wglGetProcAddress, &Offering<&RecordingNoneFound>);
  PanelForm form;
  ManualPanel* p = form.Add();
  EXPECT_EQ(p->ChooseMultiSampleFormat(), -1);
  const std::vector<int> first = {0x2001, 1,  0x2010, 1, 0x2003, 0x2027, 0x2014, 24,
                                  0x201B, 8,  0x2022, 16, 0x2023, 0,     0x2011, 1,
                                  0x2041, 1,  0x2042, 4, 0,      0};
  std::vector<int> second = first;
  second[19] = 2;
  ASSERT_EQ(sentLists.size(), 2u);
  EXPECT_EQ(sentLists[0], first);
  EXPECT_EQ(sentLists[1], second);
}

// Drivers the machine does not have, through the entry point.
TEST(MultiSample, DriversWithLessFallBackOrGiveUpSilently) {
  struct Case {
    const char* name;
    PROC (*getProcAddress)(LPCSTR);
    bool found;  // else the ordinary choice ran
  };
  const Case cases[] = {
      {"only 2 samples", &Offering<&OnlyTwoSamples>, true},
      {"no extension", [](LPCSTR) -> PROC { return nullptr; }, false},
      {"true with zero formats", &Offering<&TrueWithoutFormats>, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Replace driver(sys.wglGetProcAddress, c.getProcAddress);
    WatchedPanel w;
    w.p->SetMultiSample(true);
    ASSERT_TRUE(w.p->CreateRenderingContext());
    EXPECT_EQ(w.p->FMultiSampleActive, c.found);
    EXPECT_EQ(w.p->MultiSample(), c.found);
    if (c.found) {
      EXPECT_EQ(GetPixelFormat(w.p->FDC), twoSampleIndex);
    }
    EXPECT_EQ(w.p->LastError(), "");
    EXPECT_TRUE(w.log.seen.empty());
    EXPECT_EQ(w.Unbalanced(), "");
  }
}

// The two reports are stored silently, and the panel still gets its context.
TEST(MultiSample, RefusedClassOrProbeWindowReportsWithoutOnError) {
  struct Case {
    const char* name;
    void (*fail)();
    const char* lastError;
  };
  const Case cases[] = {
      {"class refused",
       [] {
         sys.RegisterClassExA = [](const WNDCLASSEXA*) -> ATOM {
           SetLastError(ERROR_NOT_ENOUGH_MEMORY);
           return 0;
         };
       },
       "RegisterClass:Not enough memory.\r\n"},
      {"probe window not made",
       [] {
         sys.CreateWindowExA = [](DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU,
                                  HINSTANCE, LPVOID) -> HWND {
           SetLastError(ERROR_INVALID_WINDOW_HANDLE);
           return nullptr;
         };
       },
       "MultiSample: Invalid window handle.\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpsRestore restore;
    c.fail();
    WatchedPanel w;
    w.p->SetMultiSample(true);
    ASSERT_TRUE(w.p->CreateRenderingContext());
    EXPECT_EQ(w.p->LastError(), c.lastError);
    EXPECT_TRUE(w.log.seen.empty());
    EXPECT_FALSE(w.p->MultiSample());
    EXPECT_FALSE(w.p->FMultiSampleActive);
    EXPECT_EQ(w.Unbalanced(), "");
  }
}

// A class of that name and instance value already there is the probe's own.
TEST(MultiSample, AClassThatAlreadyExistsKeepsMultisamplingOn) {
  Replace again(sys.RegisterClassExA, [](const WNDCLASSEXA* c) -> ATOM {
    platform::real.RegisterClassExA(c);
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  });
  PanelForm form;
  ManualPanel* p = form.Add();
  p->SetMultiSample(true);
  ASSERT_TRUE(p->CreateRenderingContext());
  EXPECT_TRUE(p->FMultiSampleActive);
  EXPECT_EQ(Samples(p->FDC), 4);
  EXPECT_EQ(p->LastError(), "");
}

int staleCalls = 0;
LRESULT CALLBACK StaleWndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  ++staleCalls;
  return DefWindowProcA(w, m, wp, lp);
}

// A probe class left by an earlier load of the module, whose window procedure
// would be gone, is never used: the query registers its own in its place.
TEST(MultiSample, AClassWithAnotherWindowProcedureIsRegisteredAnew) {
  PanelForm form;
  ManualPanel* p = form.Add();
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(p->Handle());
  WNDCLASSEXA stale = {};
  stale.cbSize = sizeof stale;
  stale.lpfnWndProc = &StaleWndProc;
  stale.hInstance = instance;
  stale.lpszClassName = "MultiSampleOpenGLClass";
  UnregisterClassA(stale.lpszClassName, instance);
  ASSERT_NE(RegisterClassExA(&stale), 0);
  staleCalls = 0;
  p->SetMultiSample(true);
  ASSERT_TRUE(p->CreateRenderingContext());
  EXPECT_TRUE(p->FMultiSampleActive);
  EXPECT_EQ(staleCalls, 0);
  WNDCLASSEXA now = {};
  now.cbSize = sizeof now;
  ASSERT_TRUE(GetClassInfoExA(instance, stale.lpszClassName, &now));
  EXPECT_NE(now.lpfnWndProc, &StaleWndProc);
}

TEST(MultiSample, SeveralPanelsAndAWindowMadeAgainEachGetFourSamples) {
  HandleLedger ledger;
  PanelForm form;
  ManualPanel* a = form.Add();
  ManualPanel* b = form.Add(70);
  for (ManualPanel* p : {a, b, a}) {
    if (!p->HandleAllocated()) p->Handle();
    p->SetMultiSample(true);
    ASSERT_TRUE(p->CreateRenderingContext());
    EXPECT_TRUE(p->FMultiSampleActive);
    EXPECT_EQ(Samples(p->FDC), 4);
    if (p == a) a->DestroyHandle();
  }
  b->DestroyHandle();
  a->DestroyHandle();
  EXPECT_EQ(ledger.Unbalanced(), "");
  EXPECT_EQ(ledger.windows.obtained, 3);
}

// Each failure inside the probe: -1 with no report, and whatever the probe
// made is gone. Before its context is made current, the current one stays.
TEST(MultiSample, ProbeFailuresCleanUpWhatTheyMade) {
  struct Case {
    const char* name;
    void (*fail)();
    bool madeCurrent;  // the step that makes the temporary context current was reached
  };
  const Case cases[] = {
      {"no ordinary format",
       [] { sys.ChoosePixelFormat = [](HDC, const PIXELFORMATDESCRIPTOR*) { return 0; }; }, false},
      {"format not set",
       [] { sys.SetPixelFormat = [](HDC, int, const PIXELFORMATDESCRIPTOR*) { return FALSE; }; },
       false},
      {"no temporary context", [] { sys.wglCreateContext = [](HDC) -> HGLRC { return nullptr; }; },
       false},
      {"context not made current",
       [] {
         sys.wglMakeCurrent = [](HDC dc, HGLRC rc) {
           return rc ? FALSE : platform::real.wglMakeCurrent(dc, rc);
         };
       },
       true},
      {"an exception",
       [] {
         sys.wglGetProcAddress = [](LPCSTR) -> PROC { throw std::runtime_error("driver"); };
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PanelForm form;
    ManualPanel* other = form.Add(70);
    ASSERT_TRUE(other->CreateRenderingContext());
    ManualPanel* p = form.Add();
    OpsRestore restore;
    c.fail();
    HandleLedger ledger;
    EXPECT_EQ(p->ChooseMultiSampleFormat(), -1);
    EXPECT_EQ(p->LastError(), "");
    EXPECT_EQ(wglGetCurrentContext(), c.madeCurrent ? nullptr : other->FRC);
    EXPECT_EQ(ledger.windows.obtained, 1);
    EXPECT_EQ(ledger.Unbalanced(), "");
  }
}
