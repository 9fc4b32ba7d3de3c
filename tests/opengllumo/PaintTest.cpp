// The paint cycle on real windows, and the frame rate from scripted counter
// readings.
#include <gtest/gtest.h>

#include "ShownPanel.h"
#include "platform/PlatformOps.h"

namespace {

using platform::Replace;
using platform::sys;

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);

int swaps = 0;
BOOL CountSwap(HDC dc) {
  ++swaps;
  return platform::real.SwapBuffers(dc);
}

struct PaletteCall {
  HPALETTE palette;
  BOOL background;
};
std::vector<PaletteCall> selects;
HPALETTE SpySelect(HDC dc, HPALETTE p, BOOL background) {
  selects.push_back({p, background});
  return platform::real.SelectPalette(dc, p, background);
}

// A real logical palette of two entries.
HPALETTE SmallPalette() {
  struct {
    LOGPALETTE head;
    PALETTEENTRY more;
  } block = {{0x300, 2, {{255, 0, 0, 0}}}, {0, 0, 255, 0}};
  return CreatePalette(&block.head);
}

struct PanelPaint : ShownPanelTest {};

TEST_F(PanelPaint, FirstPaintReadsBackWhatOnPaintDrewInThePanelsOwnContext) {
  events.red = 1.0f;
  f.Show();
  ASSERT_FALSE(events.pixels.empty());
  EXPECT_EQ(events.pixels.front(), kRed);
  EXPECT_EQ(events.contextsInPaint.front(), panel->FRC);
}

// The second panel's creation leaves its context current, and the palette
// handler leaves none: each paint must still draw into its own panel.
TEST_F(PanelPaint, TwoPanelsEachDrawTheirOwnColourAlsoAfterAPaletteMessage) {
  PanelProbe* second = f.AddPanel(70);
  PanelEvents secondEvents;
  secondEvents.Attach(second);
  events.red = 1.0f;
  secondEvents.green = 1.0f;
  f.Show();
  for (PanelEvents* e : {&events, &secondEvents}) e->pixels.clear();
  ShownForm::PaintNow(panel);
  ShownForm::PaintNow(second);
  SendMessageA(second->Handle(), WM_QUERYNEWPALETTE, 0, 0);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  ShownForm::PaintNow(panel);
  ShownForm::PaintNow(second);
  ASSERT_EQ(events.pixels.size(), 2u);
  ASSERT_EQ(secondEvents.pixels.size(), 2u);
  for (COLORREF c : events.pixels) EXPECT_EQ(c, kRed);
  for (COLORREF c : secondEvents.pixels) EXPECT_EQ(c, kGreen);
  for (HGLRC rc : events.contextsInPaint) EXPECT_EQ(rc, panel->FRC);
  for (HGLRC rc : secondEvents.contextsInPaint) EXPECT_EQ(rc, second->FRC);
}

TEST_F(PanelPaint, SwapsOnlyWhenAutoWithDoubleBufferingAndSelectsThePaletteOnlyAroundOnPaint) {
  struct Case {
    TOpenGLSwapBuffers mode;
    TPFDFlags buffer;
    bool onPaint;
    int swaps;
  } cases[] = {
      {Auto, f_PFD_DOUBLEBUFFER, true, 1},
      {Manual, f_PFD_DOUBLEBUFFER, true, 0},
      {Auto, f_PFD_SUPPORT_GDI, true, 0},
      {Auto, f_PFD_DOUBLEBUFFER, false, 0},
  };
  for (const Case& c : cases) {
    ShownForm g;
    PanelProbe* p = g.AddPanel();
    PanelEvents e;
    e.Attach(p);
    if (!c.onPaint) p->SetOnPaint(TNotifyEvent());
    p->SetGLSwapBuffers(c.mode);
    p->SetPFDFlags({f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, c.buffer});
    g.Show();
    ASSERT_NE(p->FRC, nullptr) << p->LastError();
    HPALETTE palette = SmallPalette();
    p->FPalette = palette;  // torn down with the context
    Replace swapSpy(sys.SwapBuffers, &CountSwap);
    Replace selectSpy(sys.SelectPalette, &SpySelect);
    swaps = 0;
    selects.clear();
    ShownForm::PaintNow(p);
    EXPECT_EQ(swaps, c.swaps) << "mode " << c.mode << " buffer " << c.buffer << " paint " << c.onPaint;
    if (!c.onPaint) {
      EXPECT_TRUE(selects.empty());
      continue;
    }
    ASSERT_EQ(selects.size(), 2u);
    EXPECT_EQ(selects[0].palette, palette);
    EXPECT_FALSE(selects[0].background);
    EXPECT_NE(selects[1].palette, palette);  // the one selected before
    EXPECT_TRUE(selects[1].background);
  }
}

HPALETTE FailSelect(HDC, HPALETTE, BOOL) {
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}
UINT FailRealize(HDC) {
  SetLastError(ERROR_INVALID_HANDLE);
  return GDI_ERROR;
}
BOOL FailMakeCurrent(HDC, HGLRC) {
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

// Each failure ends the paint before OnPaint, on every paint it happens in:
// nothing swapped, the frame rate kept.
TEST_F(PanelPaint, PaletteAndMakeCurrentFailuresEndEveryPaintBeforeOnPaint) {
  f.Show();
  panel->FPalette = SmallPalette();
  panel->SetFps_Enabled(true);
  Replace swapSpy(sys.SwapBuffers, &CountSwap);
  for (const char* prefix : {"SelectPalette:", "RealizePalette:", "wglMakeCurrent:"}) {
    const std::string p = prefix;
    Replace select(sys.SelectPalette, p == "SelectPalette:" ? &FailSelect : &SpySelect);
    Replace realize(sys.RealizePalette,
                    p == "RealizePalette:" ? &FailRealize : platform::real.RealizePalette);
    Replace current(sys.wglMakeCurrent,
                    p == "wglMakeCurrent:" ? &FailMakeCurrent : platform::real.wglMakeCurrent);
    if (p == "wglMakeCurrent:") platform::real.wglMakeCurrent(nullptr, nullptr);
    events.order.clear();
    errors.seen.clear();
    selects.clear();
    swaps = 0;
    panel->FFps = 7;
    ShownForm::PaintNow(panel);
    ShownForm::PaintNow(panel);
    ASSERT_EQ(errors.seen.size(), 2u) << p;
    EXPECT_EQ(errors.seen[1], std::string(p) + "Invalid handle.\r\n");
    EXPECT_EQ(events.Count("Paint"), 0) << p;
    EXPECT_EQ(swaps, 0) << p;
    EXPECT_EQ(panel->Fps(), 7) << p;
    // A failed realization leaves the panel's palette selected; a context that
    // cannot be made current ends the paint before the palette is touched.
    if (p == "RealizePalette:") {
      EXPECT_EQ(selects.size(), 2u);
    }
    if (p == "wglMakeCurrent:") {
      EXPECT_TRUE(selects.empty());
    }
  }
}

// A panel whose context could not be created still paints, with no context
// current, so that it cannot draw into another panel's window.
TEST_F(PanelPaint, PanelWithoutContextPaintsWithNoContextCurrent) {
  f.Show();
  PanelProbe* broken = f.AddPanel(70);
  PanelEvents brokenEvents;
  brokenEvents.Attach(broken);
  {
    Replace guard(sys.ChoosePixelFormat, [](HDC, const PIXELFORMATDESCRIPTOR*) { return 0; });
    broken->SetParent(f.form.get());
  }
  ASSERT_EQ(broken->FRC, nullptr);
  ASSERT_TRUE(panel->MakeCurrent());
  brokenEvents.contextsInPaint.clear();
  ShownForm::PaintNow(broken);
  ASSERT_EQ(brokenEvents.Count("Paint"), 1);
  EXPECT_EQ(brokenEvents.contextsInPaint.back(), nullptr);
}

int counterReads = 0;
__int64 readings[2];
BOOL ScriptedCounter(LARGE_INTEGER* c) {
  c->QuadPart = readings[counterReads++ % 2];
  return TRUE;
}

TEST_F(PanelPaint, AtDesignTimeNothingIsDrawnOrMeasured) {
  f.Show();
  panel->SetDesigning(true);
  panel->SetFps_Enabled(true);
  Replace counter(sys.QueryPerformanceCounter, &ScriptedCounter);
  counterReads = 0;
  events.order.clear();
  ShownForm::PaintNow(panel);
  EXPECT_EQ(events.Count("Paint"), 0);
  EXPECT_EQ(counterReads, 0);
  EXPECT_EQ(panel->Fps(), 0);
}

TEST(PanelFrameRate, IsTheReciprocalOfThePaintsDurationTruncated) {
  struct Case {
    __int64 start, end, frequency;
    int fps;
  } cases[] = {
      {0, 160000, 10000000, 62},         // 0.016 s
      {0, 3000000, 10000000, 3},         // 0.3 s
      {1000000, 999500, 10000000, -20000},  // the end before the start
      {4000, 4000, 10000000, 0},         // too short to measure: no rate
      {0, 5, 0, 0},                      // no counter frequency: no rate
      {0, 1, 10000000, 10000000},
  };
  Replace counter(sys.QueryPerformanceCounter, &ScriptedCounter);
  for (const Case& c : cases) {
    PanelProbe p(nullptr);
    p.SetFps_Enabled(true);
    p.FFrequency = c.frequency;
    p.FFps = 99;
    readings[0] = c.start;
    readings[1] = c.end;
    counterReads = 0;
    p.Paint();
    EXPECT_EQ(counterReads, 2);
    EXPECT_EQ(p.Fps(), c.fps) << c.start << " to " << c.end << " at " << c.frequency;
  }
}

// Switches Fps_Enabled inside OnPaint.
struct Switcher {
  bool to;
  void Paint(TObject* Sender) { static_cast<TOpenGLLumoPanel*>(Sender)->SetFps_Enabled(to); }
};

TEST(PanelFrameRate, SwitchingFpsEnabledInsideOnPaintLeavesFpsForThatPaint) {
  Replace counter(sys.QueryPerformanceCounter, &ScriptedCounter);
  readings[0] = 0;
  readings[1] = 160000;
  for (bool on : {true, false}) {
    PanelProbe p(nullptr);
    Switcher s{on};
    p.SetOnPaint(Bind<&Switcher::Paint>(&s));
    p.SetFps_Enabled(!on);
    p.FFps = 5;
    counterReads = 0;
    p.Paint();
    EXPECT_EQ(p.Fps(), 5) << "switched " << (on ? "on" : "off");
    EXPECT_EQ(counterReads, on ? 0 : 1);
  }
  PanelProbe p(nullptr);
  Switcher s{true};
  p.SetOnPaint(Bind<&Switcher::Paint>(&s));
  p.Paint();  // switched on here
  counterReads = 0;
  p.Paint();  // measured here
  EXPECT_EQ(p.Fps(), 62);
}

TEST(PanelFrameRate, StaysWhenDisabledAndIsMeasuredWithoutOnPaint) {
  Replace counter(sys.QueryPerformanceCounter, &ScriptedCounter);
  readings[0] = 0;
  readings[1] = 3000000;
  PanelProbe p(nullptr);
  counterReads = 0;
  p.Paint();
  EXPECT_EQ(p.Fps(), 0);
  EXPECT_EQ(counterReads, 0);
  p.SetFps_Enabled(true);
  p.Paint();
  EXPECT_EQ(p.Fps(), 3);
}

}  // namespace
