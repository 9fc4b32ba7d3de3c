#include <gtest/gtest.h>

#include <cstring>

#include "PanelForm.h"
#include "platform/PlatformOps.h"
#include "support/HandleLedger.h"

using platform::Replace;
using platform::sys;

namespace {

void ExpectNoContext() {
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(wglGetCurrentDC(), nullptr);
}

}  // namespace

TEST(Context, DefaultsSetTheDescribedFormatWithDoubleBufferingAndMakeItCurrent) {
  HandleLedger ledger;
  PanelForm form;
  ManualPanel* p = form.Add();
  ASSERT_TRUE(p->CreateRenderingContext());

  int format = GetPixelFormat(p->FDC);
  ASSERT_GT(format, 0);
  PIXELFORMATDESCRIPTOR described;
  DescribePixelFormat(p->FDC, format, sizeof described, &described);
  EXPECT_EQ(std::memcmp(&described, &p->FPFD, sizeof described), 0);
  EXPECT_TRUE(p->FDoubleBuffered);
  EXPECT_FALSE(p->FMultiSampleActive);
  EXPECT_EQ(p->FPalette, nullptr);
  EXPECT_EQ(wglGetCurrentContext(), p->FRC);
  EXPECT_EQ(wglGetCurrentDC(), p->FDC);
  EXPECT_EQ(p->LastError(), "");

  p->DestroyRenderingContext();
  EXPECT_EQ(p->FRC, nullptr);
  EXPECT_EQ(p->FDC, nullptr);
  ExpectNoContext();
  p->DestroyHandle();  // teardown again: nothing is released twice
  EXPECT_EQ(ledger.Unbalanced(), "");
  EXPECT_EQ(ledger.dcs.obtained, 1);
  EXPECT_EQ(ledger.contexts.obtained, 1);
}

TEST(Context, GdiSupportMeansNoDoubleBuffering) {
  HandleLedger ledger;
  PanelForm form;
  ManualPanel* p = form.Add();
  TPFDFlagSet flags = p->PFDFlags();
  p->SetPFDFlags(flags << f_PFD_SUPPORT_GDI);
  ASSERT_TRUE(p->CreateRenderingContext());
  EXPECT_FALSE(p->FDoubleBuffered);
  EXPECT_EQ(wglGetCurrentContext(), p->FRC);
}

// Each failure of the creation: the report, how often OnError fired, what is
// still held, and that the window's end releases the rest once.
TEST(Context, CreationFailuresReportAndLeakNothing) {
  struct Case {
    const char* name;
    void (*prepare)(ManualPanel*);
    const char* lastError;
    bool dcHeld, contextHeld;
  };
  static const Case cases[] = {
      {"colour index has no format here: ChoosePixelFormat leaves the last error",
       [](ManualPanel* p) {
         p->SetPixelType(f_PFD_TYPE_COLORINDEX);
         SetLastError(ERROR_INVALID_HANDLE);
       },
       "ChoosePixelFormat:Invalid handle.\r\n", false, false},
      {"the window already has another format: SetPixelFormat leaves the last error",
       [](ManualPanel* p) {
         HDC dc = GetDC(p->Handle());
         PIXELFORMATDESCRIPTOR request = p->PixelFormatRequest();
         int other = ChoosePixelFormat(dc, &request) == 1 ? 2 : 1;
         ASSERT_TRUE(SetPixelFormat(dc, other, &request));
         ReleaseDC(p->Handle(), dc);
         SetLastError(ERROR_INVALID_WINDOW_HANDLE);
       },
       "SetPixelFormat:Invalid window handle.\r\n", false, false},
      {"no context without a format: wglCreateContext fails with 2000, which has no text",
       [](ManualPanel*) {
         sys.SetPixelFormat = [](HDC, int, const PIXELFORMATDESCRIPTOR*) { return TRUE; };
       },
       "wglRenderingContext:", false, false},
      {"the context cannot be made current: everything stays for the teardown",
       [](ManualPanel*) {
         sys.wglMakeCurrent = [](HDC dc, HGLRC rc) {
           if (!rc) return platform::real.wglMakeCurrent(dc, rc);
           SetLastError(ERROR_INVALID_HANDLE);
           return FALSE;
         };
       },
       "wglMakeCurrent:Invalid handle.\r\n", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpsRestore restore;
    WindowLife life = LiveOnce(c.prepare);
    EXPECT_FALSE(life.created);
    EXPECT_EQ(life.lastError, c.lastError);
    ASSERT_EQ(life.reports.size(), 1u);
    EXPECT_EQ(life.reports[0], c.lastError);
    EXPECT_EQ(life.dcHeld, c.dcHeld);
    EXPECT_EQ(life.contextHeld, c.contextHeld);
    EXPECT_FALSE(life.paletteHeld);
    EXPECT_EQ(life.unbalanced, "");
    ExpectNoContext();
  }
}

TEST(Context, SetPixelFormatSucceedsOnlyWithExactlyTrue) {
  Replace notOne(sys.SetPixelFormat, [](HDC dc, int f, const PIXELFORMATDESCRIPTOR* r) -> BOOL {
    platform::real.SetPixelFormat(dc, f, r);
    SetLastError(ERROR_INVALID_HANDLE);
    return 2;
  });
  WindowLife life = LiveOnce();
  EXPECT_FALSE(life.created);
  EXPECT_EQ(life.lastError, "SetPixelFormat:Invalid handle.\r\n");
  EXPECT_EQ(life.unbalanced, "");
}

TEST(Context, TeardownReportsEachFailureAndGoesOn) {
  struct Case {
    const char* name;
    void (*fail)();
    const char* lastError;
  };
  static const Case cases[] = {
      {"context not deleted",
       [] {
         sys.wglDeleteContext = [](HGLRC rc) {
           platform::real.wglDeleteContext(rc);
           SetLastError(ERROR_INVALID_HANDLE);
           return FALSE;
         };
       },
       "wglDeleteContext:Invalid handle.\r\n"},
      {"device context not released",
       [] {
         sys.ReleaseDC = [](HWND w, HDC dc) {
           platform::real.ReleaseDC(w, dc);
           SetLastError(ERROR_INVALID_WINDOW_HANDLE);
           return 0;
         };
       },
       "ReleaseDC Failed:Invalid window handle.\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpsRestore restore;
    c.fail();
    HandleLedger ledger;
    ErrorLog log;
    PanelForm form;
    ManualPanel* p = form.Add();
    p->SetOnError(Bind<&ErrorLog::OnError>(&log));
    ASSERT_TRUE(p->CreateRenderingContext());
    p->DestroyRenderingContext();
    EXPECT_EQ(p->LastError(), c.lastError);
    EXPECT_EQ(log.seen.size(), 1u);
    EXPECT_EQ(p->FRC, nullptr);
    EXPECT_EQ(p->FDC, nullptr);
    EXPECT_EQ(ledger.contexts.released, 1);
    EXPECT_EQ(ledger.dcs.released, 1);
    ExpectNoContext();
  }
}

TEST(Context, MakeCurrentCallsNothingWhenThePanelsPairIsCurrent) {
  PanelForm form;
  ManualPanel* p = form.Add();
  ASSERT_TRUE(p->CreateRenderingContext());
  static int calls;
  calls = 0;
  Replace count(sys.wglMakeCurrent, [](HDC dc, HGLRC rc) {
    ++calls;
    return platform::real.wglMakeCurrent(dc, rc);
  });
  EXPECT_TRUE(p->MakeCurrent());
  EXPECT_EQ(calls, 0);
  wglMakeCurrent(nullptr, nullptr);
  EXPECT_TRUE(p->MakeCurrent());
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(wglGetCurrentContext(), p->FRC);
}

// Two panels on one thread, one window made again: each creation makes its
// own context current, and every list range goes in the context it was made in.
TEST(Context, SeveralPanelsAndAWindowMadeAgainReleaseEverythingOnce) {
  HandleLedger ledger;
  PanelForm form;
  ManualPanel* a = form.Add();
  ManualPanel* b = form.Add(70);
  ASSERT_TRUE(a->CreateRenderingContext());
  a->BuildFont3D();
  a->BuildFont2D();
  ASSERT_TRUE(b->CreateRenderingContext());
  b->BuildFont2D();
  EXPECT_EQ(wglGetCurrentContext(), b->FRC);
  ASSERT_TRUE(a->MakeCurrent());
  EXPECT_EQ(wglGetCurrentDC(), a->FDC);
  ASSERT_TRUE(b->MakeCurrent());

  a->DestroyHandle();  // b's context is current
  ExpectNoContext();
  a->Handle();
  ASSERT_TRUE(a->CreateRenderingContext());
  a->BuildFont3D();
  a->DestroyHandle();
  b->DestroyHandle();

  EXPECT_EQ(ledger.Unbalanced(), "");
  EXPECT_EQ(ledger.contexts.obtained, 3);
  EXPECT_EQ(ledger.lists.obtained, 4);
  EXPECT_EQ(ledger.dcs.obtained, 3);
  EXPECT_TRUE(ledger.faults.empty());
}
