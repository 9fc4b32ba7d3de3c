// The panel in its window: creation, messages, teardown and re-creation.
#include <gtest/gtest.h>

#include "ShownPanel.h"
#include "platform/PlatformOps.h"
#include "support/HandleLedger.h"

namespace {

using platform::Replace;
using platform::sys;

struct PanelWindow : ShownPanelTest {};

TEST_F(PanelWindow, ShownPanelFiresPreInitThenInitOnceWithContextClipStylesAndOwnDC) {
  f.Show();
  ASSERT_TRUE(panel->HandleAllocated());
  EXPECT_EQ(events.Count("PreInit"), 1);
  EXPECT_EQ(events.Count("Init"), 1);
  EXPECT_EQ(events.order.front(), "PreInit");
  EXPECT_TRUE(events.contextCurrentInInit);
  EXPECT_NE(panel->FRC, nullptr);
  EXPECT_TRUE(panel->FWindowCreated);
  HWND wnd = panel->Handle();
  DWORD clip = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(wnd, GWL_STYLE)) & clip, clip);
  EXPECT_TRUE(GetClassLongA(wnd, GCL_STYLE) & CS_OWNDC);
  // A private device context: the same one every time it is asked for.
  HDC dc = GetDC(wnd);
  EXPECT_EQ(dc, panel->FDC);
  ReleaseDC(wnd, dc);
  EXPECT_EQ(panel->LastError(), "");
}

// The three setters each nudge the width twice while the window is created,
// so OnResize comes six times before OnInit.
TEST_F(PanelWindow, CreationAppliesTheStylesBeforeOnInitAndTheWidthEndsWhereItWas) {
  f.Show();
  EXPECT_EQ(events.resizesBeforeInit, 6);
  EXPECT_EQ(panel->Width(), 64);
  RECT r;
  GetWindowRect(panel->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 64);
}

TEST_F(PanelWindow, FailedContextFiresOnErrorTwiceAppliesNoStyleAndSkipsOnInit) {
  panel->SetToolWindow(true);
  panel->SetBorder(true);
  panel->SetAllowResize(true);
  Replace guard(sys.ChoosePixelFormat, [](HDC, const PIXELFORMATDESCRIPTOR*) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return 0;
  });
  f.Show();
  ASSERT_TRUE(panel->HandleAllocated());  // the window lives on without a context
  EXPECT_EQ(panel->FRC, nullptr);
  ASSERT_EQ(errors.seen.size(), 2u);
  EXPECT_EQ(errors.seen[0].rfind("ChoosePixelFormat:", 0), 0u) << errors.seen[0];
  EXPECT_EQ(errors.seen[1], "Open GL Context Create Failed");
  EXPECT_EQ(panel->LastError(), "Open GL Context Create Failed");
  EXPECT_EQ(events.Count("Init"), 0);
  // Only the system's own size notice of the new window: no width nudges.
  EXPECT_EQ(events.Count("Resize"), 1);
  HWND wnd = panel->Handle();
  EXPECT_EQ(GetWindowLongA(wnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_EQ(GetWindowLongA(wnd, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE), 0);
  // The stored values are kept for the next creation.
  EXPECT_TRUE(panel->ToolWindow() && panel->Border() && panel->AllowResize());
}

int exceptionsSeen = 0;
void CountException(std::exception_ptr) { ++exceptionsSeen; }

struct Throws {
  int errorCalls = 0;
  void Init(TObject*) { throw std::runtime_error("OnInit failed"); }
  void Error(TObject*) {
    ++errorCalls;
    throw std::runtime_error("OnError failed");
  }
};

// Whatever an event handler throws during creation stays inside WMCreate: the
// framework's window procedure never sees it, and the window is created.
TEST_F(PanelWindow, ExceptionsFromOnInitAndOnErrorDoNotEscapeCreation) {
  Throws throws;
  auto saved = WindowExceptionHook;
  WindowExceptionHook = &CountException;
  exceptionsSeen = 0;
  panel->SetOnInit(Bind<&Throws::Init>(&throws));
  f.Show();
  EXPECT_TRUE(panel->HandleAllocated());
  EXPECT_NE(panel->FRC, nullptr);

  ShownForm g;
  PanelProbe* failing = g.AddPanel();
  failing->SetOnError(Bind<&Throws::Error>(&throws));
  {
    Replace guard(sys.ChoosePixelFormat, [](HDC, const PIXELFORMATDESCRIPTOR*) { return 0; });
    g.Show();
  }
  EXPECT_TRUE(failing->HandleAllocated());
  EXPECT_EQ(throws.errorCalls, 1);  // the throw skipped the second report
  WindowExceptionHook = saved;
  EXPECT_EQ(exceptionsSeen, 0);
}

TEST_F(PanelWindow, RecreatedWindowFiresBothEventsAgainWithANewContextAndTheLedgerBalances) {
  HandleLedger ledger;
  panel->SetFont3D_Enabled(true);
  panel->SetFont2D_Enabled(true);
  f.Show();
  panel->RecreateWnd();
  PumpMessages();
  EXPECT_EQ(events.Count("PreInit"), 2);
  EXPECT_EQ(events.Count("Init"), 2);
  ASSERT_NE(panel->FRC, nullptr);
  EXPECT_EQ(wglGetCurrentContext(), panel->FRC);
  EXPECT_NE(panel->Font3D(), nullptr);
  EXPECT_NE(panel->Font2D(), nullptr);
  EXPECT_EQ(ledger.contexts.obtained, 2);
  EXPECT_EQ(ledger.contexts.live.size(), 1u);
  EXPECT_EQ(ledger.dcs.live.size(), 1u);
  panel->DestroyHandle();
  EXPECT_EQ(panel->FRC, nullptr);
  EXPECT_EQ(panel->FDC, nullptr);
  EXPECT_EQ(ledger.Unbalanced(), "");
}

// A style setter asked for the window after its destruction creates it again.
TEST_F(PanelWindow, StyleSetterAfterDestructionCreatesTheWindowAgain) {
  f.Show();
  panel->DestroyHandle();
  panel->SetBorder(true);
  ASSERT_TRUE(panel->HandleAllocated());
  EXPECT_EQ(events.Count("Init"), 2);
  EXPECT_TRUE(GetWindowLongA(panel->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

// Fills a 4x4 memory bitmap with black, sends WM_ERASEBKGND with it and
// returns the colour left at its corner.
COLORREF EraseInto(HWND wnd) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT r = {0, 0, 4, 4};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SendMessageA(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  COLORREF c = GetPixel(dc, 1, 1);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return c;
}

TEST_F(PanelWindow, BackgroundIsErasedInThePanelsColourAtDesignTimeOnly) {
  panel->SetColor(clRed);
  f.Show();
  EXPECT_EQ(EraseInto(panel->Handle()), RGB(0, 0, 0));
  panel->SetDesigning(true);
  EXPECT_EQ(EraseInto(panel->Handle()), RGB(255, 0, 0));
}

// Replaced ReleaseCapture counts its calls.
int captureReleases = 0;
BOOL CountRelease() {
  ++captureReleases;
  return TRUE;
}

TEST_F(PanelWindow, MovingReleasesTheCaptureOnlyWhenMovingIsNotAllowedAndKeepsTheRectangle) {
  f.Show();
  Replace guard(sys.ReleaseCapture, &CountRelease);
  for (bool allow : {false, true}) {
    captureReleases = 0;
    panel->SetAllowMoving(allow);
    RECT proposed = {10, 20, 74, 68};
    LRESULT result = SendMessageA(panel->Handle(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(captureReleases, allow ? 0 : 1) << "AllowMoving " << allow;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(proposed.left, 10);
    EXPECT_EQ(proposed.bottom, 68);
  }
}

// Records the device contexts the palette handlers select into.
std::vector<HDC> paletteDCs;
HPALETTE SpySelect(HDC dc, HPALETTE p, BOOL background) {
  paletteDCs.push_back(dc);
  return platform::real.SelectPalette(dc, p, background);
}

// The system sends the palette messages to top-level windows; the form hands
// them on, and the panel ignores a change it made itself.
TEST_F(PanelWindow, FormHandsPaletteMessagesToThePanel) {
  f.Show();
  Replace guard(sys.SelectPalette, &SpySelect);
  HWND form = f.form->Handle(), own = panel->Handle();
  struct Case {
    UINT msg;
    WPARAM from;
    bool reachesPanel;
  } cases[] = {
      {WM_QUERYNEWPALETTE, 0, true},
      {WM_PALETTECHANGED, reinterpret_cast<WPARAM>(form), true},
      {WM_PALETTECHANGED, reinterpret_cast<WPARAM>(own), false},
  };
  for (const Case& c : cases) {
    paletteDCs.clear();
    SendMessageA(form, c.msg, c.from, 0);
    bool reached = std::count(paletteDCs.begin(), paletteDCs.end(), panel->FDC) > 0;
    EXPECT_EQ(reached, c.reachesPanel) << "message " << c.msg << " from " << c.from;
  }
}

// On the real platform: activating the form sends it WM_QUERYNEWPALETTE.
TEST_F(PanelWindow, ActivatingTheFormRealizesThePanelsPalette) {
  f.Show();
  ShownForm other;
  other.Show();
  PumpMessages();
  Replace guard(sys.SelectPalette, &SpySelect);
  paletteDCs.clear();
  SetForegroundWindow(f.form->Handle());
  SetActiveWindow(f.form->Handle());
  PumpMessages();
  EXPECT_GT(std::count(paletteDCs.begin(), paletteDCs.end(), panel->FDC), 0);
}

TEST_F(PanelWindow, ResizeFiresOnResizeOnly) {
  f.Show();
  events.order.clear();
  panel->SetWidth(80);
  EXPECT_EQ(events.order, std::vector<std::string>{"Resize"});
  EXPECT_EQ(panel->Width(), 80);
}

}  // namespace
