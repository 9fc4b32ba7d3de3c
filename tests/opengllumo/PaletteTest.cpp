#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PanelForm.h"
#include "platform/PlatformOps.h"
#include "support/HandleLedger.h"

using platform::Replace;
using platform::sys;

namespace {

// Wine offers no format that needs a palette: the real format, described as
// 8-bit colour index with three red, three green and two blue bits.
int DescribeThreeThreeTwo(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* d) {
  int result = platform::real.DescribePixelFormat(dc, format, size, d);
  d->dwFlags |= PFD_NEED_PALETTE;
  d->cColorBits = 8;
  d->cRedBits = 3, d->cRedShift = 0;
  d->cGreenBits = 3, d->cGreenShift = 3;
  d->cBlueBits = 2, d->cBlueShift = 6;
  return result;
}

PIXELFORMATDESCRIPTOR Description(BYTE colorBits, BYTE r, BYTE rs, BYTE g, BYTE gs, BYTE b, BYTE bs) {
  PIXELFORMATDESCRIPTOR d = {};
  d.cColorBits = colorBits;
  d.cRedBits = r, d.cRedShift = rs;
  d.cGreenBits = g, d.cGreenShift = gs;
  d.cBlueBits = b, d.cBlueShift = bs;
  return d;
}

std::vector<PALETTEENTRY> Entries(HPALETTE palette) {
  std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
  GetPaletteEntries(palette, 0, entries.size(), entries.data());
  return entries;
}

std::string Rgb(const PALETTEENTRY& e) {
  return std::to_string(e.peRed) + "," + std::to_string(e.peGreen) + "," +
         std::to_string(e.peBlue) + "/" + std::to_string(e.peFlags);
}

}  // namespace

TEST(Palette, ANeedPaletteFormatGetsItsPaletteSelectedAndDeletedOnce) {
  static HDC panelDC;
  static bool selectedWhenDeleted;
  Replace deleting(sys.DeleteObject, [](HGDIOBJ o) {
    if (GetObjectType(o) == OBJ_PAL) selectedWhenDeleted = GetCurrentObject(panelDC, OBJ_PAL) == o;
    return platform::real.DeleteObject(o);
  });
  HandleLedger ledger;
  PanelForm form;
  ManualPanel* p = form.Add();
  {
    Replace describe(sys.DescribePixelFormat, &DescribeThreeThreeTwo);
    ASSERT_TRUE(p->CreateRenderingContext());
  }
  ASSERT_NE(p->FPalette, nullptr);
  EXPECT_EQ(GetCurrentObject(p->FDC, OBJ_PAL), p->FPalette);
  EXPECT_EQ(wglGetCurrentContext(), p->FRC);
  EXPECT_EQ(Entries(p->FPalette).size(), 256u);
  panelDC = p->FDC;
  selectedWhenDeleted = true;
  p->DestroyHandle();
  EXPECT_FALSE(selectedWhenDeleted);
  EXPECT_EQ(ledger.palettes.obtained, 1);
  EXPECT_EQ(ledger.Unbalanced(), "");
}

TEST(Palette, EntriesSpreadEachColourEvenly) {
  struct Case {
    const char* name;
    PIXELFORMATDESCRIPTOR description;
    std::size_t count;
    std::vector<std::pair<int, const char*>> entries;
  };
  const Case cases[] = {
      {"3-3-2", Description(8, 3, 0, 3, 3, 2, 6), 256,
       {{0, "0,0,0/0"},
        {1, "36,0,0/0"},
        {2, "72,0,0/0"},
        {3, "109,0,0/0"},
        {4, "145,0,0/0"},
        {5, "182,0,0/0"},
        {6, "218,0,0/0"},
        {7, "255,0,0/0"},
        {56, "0,255,0/0"},
        {64, "0,0,85/0"},
        {73, "36,36,85/0"},
        {128, "0,0,170/0"},
        {192, "0,0,255/0"},
        {255, "255,255,255/0"}}},
      {"no blue bits: blue stays 0", Description(8, 3, 0, 3, 3, 0, 6), 256,
       {{192, "0,0,0/0"}, {255, "255,255,0/0"}}},
      {"no bits at all: one black entry", Description(0, 0, 0, 0, 0, 0, 0), 1, {{0, "0,0,0/0"}}},
      {"5-5-5 fills the largest palette", Description(15, 5, 10, 5, 5, 5, 0), 32768,
       {{31, "0,0,255/0"}, {32767, "255,255,255/0"}, {1 << 10, "8,0,0/0"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PanelProbe p(nullptr);
    ASSERT_TRUE(p.ConstructPalette(c.description));
    std::vector<PALETTEENTRY> entries = Entries(p.FPalette);
    ASSERT_EQ(entries.size(), c.count);
    for (const auto& [index, rgb] : c.entries) EXPECT_EQ(Rgb(entries[index]), rgb) << index;
    for (const PALETTEENTRY& e : entries) ASSERT_EQ(e.peFlags, 0);
    DeleteObject(p.FPalette);
  }
}

// The block handed to the system is all ours: cleared, then freed once.
TEST(Palette, TheBlockIsClearedAndFreed) {
  static void* block;
  static std::size_t blockSize;
  static int frees;
  static std::string spare;
  frees = 0;
  Replace malloc_(sys.Malloc, [](std::size_t n) {
    blockSize = n;
    block = platform::real.Malloc(n);
    std::memset(block, 0xCD, n);
    return block;
  });
  Replace free_(sys.Free, [](void* b) {
    frees += b == block;
    platform::real.Free(b);
  });
  Replace create(sys.CreatePalette, [](const LOGPALETTE* l) {
    spare = Rgb(l->palPalEntry[l->palNumEntries]);
    return platform::real.CreatePalette(l);
  });
  PanelProbe p(nullptr);
  ASSERT_TRUE(p.ConstructPalette(Description(8, 3, 0, 3, 3, 2, 6)));
  EXPECT_EQ(blockSize, 4u * 256 + 8);
  EXPECT_EQ(spare, "0,0,0/0");
  EXPECT_EQ(frees, 1);
  for (const PALETTEENTRY& e : Entries(p.FPalette)) ASSERT_EQ(e.peFlags, 0);
  DeleteObject(p.FPalette);
}

// Creation on a 3-3-2 description where a step fails: the reports in order,
// and the window's end leaves nothing held.
TEST(Palette, CreationFailuresReportAndLeakNothing) {
  struct Case {
    const char* name;
    void (*fail)();
    std::vector<AnsiString> reports;
  };
  const Case cases[] = {
      {"no memory for the block",
       [] { sys.Malloc = [](std::size_t) -> void* { return nullptr; }; },
       {"ConstructPalette: Malloc failure"}},
      {"palette not created",
       [] {
         sys.CreatePalette = [](const LOGPALETTE*) -> HPALETTE {
           SetLastError(ERROR_NOT_ENOUGH_MEMORY);
           return nullptr;
         };
       },
       {"CreatePalette:Not enough memory.\r\n"}},
      {"16 colour bits",
       [] {
         sys.DescribePixelFormat = [](HDC dc, int f, UINT n, PIXELFORMATDESCRIPTOR* d) {
           int result = DescribeThreeThreeTwo(dc, f, n, d);
           d->cColorBits = 16;
           return result;
         };
         sys.Malloc = [](std::size_t) -> void* {
           ADD_FAILURE() << "no block for a palette that cannot be";
           return nullptr;
         };
       },
       {"ConstructPalette: 16 colour bits need more entries than a palette holds"}},
      {"no context: the palette goes again",
       [] {
         sys.wglCreateContext = [](HDC) -> HGLRC {
           SetLastError(ERROR_INVALID_HANDLE);
           return nullptr;
         };
       },
       {"wglRenderingContext:Invalid handle.\r\n"}},
      {"no context, and the palette cannot be deleted",
       [] {
         sys.wglCreateContext = [](HDC) -> HGLRC {
           SetLastError(ERROR_INVALID_HANDLE);
           return nullptr;
         };
         sys.DeleteObject = [](HGDIOBJ o) {
           platform::real.DeleteObject(o);
           return FALSE;
         };
       },
       {"wglRenderingContext:Invalid handle.\r\n", "DeleteObject: Failed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpsRestore restore;
    sys.DescribePixelFormat = &DescribeThreeThreeTwo;
    c.fail();
    WindowLife life = LiveOnce();
    EXPECT_FALSE(life.created);
    EXPECT_EQ(life.reports, c.reports);
    EXPECT_EQ(life.lastError, c.reports.back());
    EXPECT_FALSE(life.dcHeld);
    EXPECT_FALSE(life.contextHeld);
    EXPECT_FALSE(life.paletteHeld);
    EXPECT_EQ(life.unbalanced, "");
  }
}

TEST(Palette, TeardownGoesInItsOrderAndReportsAFailedPaletteDeletion) {
  static std::vector<std::string> calls;
  calls.clear();
  OpsRestore restore;
  sys.DescribePixelFormat = &DescribeThreeThreeTwo;
  ErrorLog log;
  PanelForm form;
  ManualPanel* p = form.Add();
  p->SetOnError(Bind<&ErrorLog::OnError>(&log));
  ASSERT_TRUE(p->CreateRenderingContext());
  p->BuildFont2D();
  ASSERT_NE(p->Font2D(), nullptr);
  wglMakeCurrent(nullptr, nullptr);  // the lists still go in the panel's context

  sys.glDeleteLists = [](GLuint first, GLsizei n) {
    calls.push_back(wglGetCurrentContext() ? "glDeleteLists in a context" : "glDeleteLists");
    platform::real.glDeleteLists(first, n);
  };
  sys.wglMakeCurrent = [](HDC dc, HGLRC rc) {
    calls.push_back(rc ? "wglMakeCurrent" : "wglMakeCurrent(0, 0)");
    return platform::real.wglMakeCurrent(dc, rc);
  };
  sys.wglDeleteContext = [](HGLRC rc) {
    calls.push_back("wglDeleteContext");
    return platform::real.wglDeleteContext(rc);
  };
  sys.SelectPalette = [](HDC dc, HPALETTE pal, BOOL bg) {
    calls.push_back(pal == static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)) ? "SelectPalette(default)" : "SelectPalette");
    return platform::real.SelectPalette(dc, pal, bg);
  };
  sys.DeleteObject = [](HGDIOBJ o) {
    calls.push_back("DeleteObject");
    platform::real.DeleteObject(o);
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  };
  sys.ReleaseDC = [](HWND w, HDC dc) {
    calls.push_back("ReleaseDC");
    return platform::real.ReleaseDC(w, dc);
  };
  p->DestroyRenderingContext();
  const std::vector<std::string> expected = {
      "wglMakeCurrent",         "glDeleteLists in a context", "wglMakeCurrent(0, 0)",
      "wglDeleteContext",       "SelectPalette(default)",     "DeleteObject",
      "ReleaseDC"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(p->LastError(), "DeleteObject Failed:Invalid handle.\r\n");
  EXPECT_EQ(log.seen.size(), 1u);
  EXPECT_EQ(p->FPalette, nullptr);
  EXPECT_EQ(p->FDC, nullptr);
}

// The palette messages, on a panel whose 3-3-2 palette exists.
class PaletteMessages : public testing::Test {
 protected:
  void SetUp() override {
    Replace describe(sys.DescribePixelFormat, &DescribeThreeThreeTwo);
    p = form.Add();
    p->SetOnError(Bind<&ErrorLog::OnError>(&log));
    ASSERT_TRUE(p->CreateRenderingContext());
    selects.clear();
    invalidated.clear();
    sys.SelectPalette = [](HDC dc, HPALETTE pal, BOOL bg) {
      selects.push_back({pal, bg});
      return platform::real.SelectPalette(dc, pal, bg);
    };
    sys.InvalidateRect = [](HWND w, const RECT* r, BOOL erase) {
      invalidated.push_back({w, r == nullptr && erase});
      return platform::real.InvalidateRect(w, r, erase);
    };
  }

  TMessage Message(UINT msg, WPARAM wParam = 0) { return TMessage{msg, wParam, 0, 1234}; }

  static inline std::vector<std::pair<HPALETTE, BOOL>> selects;
  static inline std::vector<std::pair<HWND, bool>> invalidated;  // window, whole and erased
  OpsRestore restore;
  ErrorLog log;
  PanelForm form;
  ManualPanel* p = nullptr;
};

TEST_F(PaletteMessages, QueryWithNothingRemappedRealizesAndLeavesNoContext) {
  HPALETTE before = static_cast<HPALETTE>(GetCurrentObject(p->FDC, OBJ_PAL));
  TMessage m = Message(WM_QUERYNEWPALETTE);
  p->WMQueryNewPalette(m);
  EXPECT_EQ(m.Result, 0);
  EXPECT_TRUE(invalidated.empty());
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  ASSERT_EQ(selects.size(), 2u);
  EXPECT_EQ(selects[0], std::make_pair(p->FPalette, FALSE));
  EXPECT_EQ(selects[1], std::make_pair(before, TRUE));  // the previous one, in the background
  EXPECT_TRUE(log.seen.empty());
}

TEST_F(PaletteMessages, QueryWithEntriesRemappedInvalidatesTheWholePanel) {
  sys.RealizePalette = [](HDC) -> UINT { return 5; };
  TMessage m = Message(WM_QUERYNEWPALETTE);
  p->WMQueryNewPalette(m);
  EXPECT_EQ(m.Result, 5);
  ASSERT_EQ(invalidated.size(), 1u);
  EXPECT_EQ(invalidated[0], std::make_pair(p->Handle(), true));
}

TEST_F(PaletteMessages, QueryFailuresReport) {
  sys.RealizePalette = [](HDC) -> UINT {
    SetLastError(ERROR_INVALID_HANDLE);
    return GDI_ERROR;
  };
  TMessage m = Message(WM_QUERYNEWPALETTE);
  p->WMQueryNewPalette(m);
  EXPECT_EQ(m.Result, 1234);
  EXPECT_EQ(p->LastError(), "RealizePalette:Invalid handle.\r\n");
  EXPECT_EQ(wglGetCurrentContext(), p->FRC);  // ended before the context was touched

  sys.RealizePalette = platform::real.RealizePalette;
  wglMakeCurrent(nullptr, nullptr);
  sys.wglMakeCurrent = [](HDC, HGLRC) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  };
  p->WMQueryNewPalette(m);
  EXPECT_EQ(m.Result, 0);
  EXPECT_EQ(p->LastError(), "wglMakeCurrent:Invalid handle.\r\n");
  EXPECT_EQ(log.seen.size(), 2u);
}

TEST_F(PaletteMessages, ChangedByThePanelItselfDoesNothing) {
  TMessage m = Message(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(p->Handle()));
  p->WMPaletteChanged(m);
  EXPECT_TRUE(selects.empty());
  EXPECT_EQ(m.Result, 1234);
  EXPECT_EQ(wglGetCurrentContext(), p->FRC);
}

TEST_F(PaletteMessages, ChangedByAnotherWindowRealizesAndLeavesTheResult) {
  sys.RealizePalette = [](HDC) -> UINT { return 3; };
  TMessage m = Message(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(form.Form().Handle()));
  p->WMPaletteChanged(m);
  ASSERT_FALSE(selects.empty());
  EXPECT_EQ(selects[0].first, p->FPalette);
  EXPECT_EQ(invalidated.size(), 1u);
  EXPECT_EQ(m.Result, 1234);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
}
