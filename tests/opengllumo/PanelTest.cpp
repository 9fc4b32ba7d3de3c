#include <gtest/gtest.h>

#include <memory>

#include "PanelProbe.h"
#include "vcl/Forms.h"

TEST(Panel, NewPanelHasEveryDefault) {
  PanelProbe p(nullptr);
  EXPECT_TRUE((p.PFDFlags() ==
               TPFDFlagSet{f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_DOUBLEBUFFER}));
  EXPECT_EQ(p.PixelType(), f_PFD_TYPE_RGBA);
  EXPECT_EQ(p.FPFDPixelType, 0);
  EXPECT_EQ(p.cColorBits(), 32);
  EXPECT_EQ(p.cDepthBits(), 32);
  EXPECT_EQ(p.cAccBits(), 8);
  EXPECT_EQ(p.GLSwapBuffers(), Auto);
  EXPECT_EQ(p.PrintScale(), pglProportional);
  EXPECT_EQ(p.PixelsPerInch(), 96);
  for (TFont* f : {p.Font3D_Type(), p.Font2D_Type()}) {
    EXPECT_EQ(f->Name(), "Arial");
    EXPECT_TRUE(f->Style() == TFontStyles{fsBold});
    EXPECT_EQ(f->Height(), -9);
    EXPECT_EQ(f->Charset(), 0);
    EXPECT_EQ(f->Color(), clWindowText);  // the font class's default
  }
  EXPECT_NE(p.Font3D_Type(), p.Font2D_Type());
  EXPECT_EQ(p.Font3D_FirstGylph(), 32);
  EXPECT_EQ(p.Font3D_NumGylph(), 96);
  EXPECT_EQ(p.Font2D_FirstGylph(), 32);
  EXPECT_EQ(p.Font2D_NumGylph(), 96);
  EXPECT_EQ(p.Font3D_MaxDeviation(), 1.0f);
  EXPECT_EQ(p.Font3D_Extrustion(), 0.1f);
  EXPECT_EQ(p.Font3D_Format(), f_WGL_FONT_POLYGONS);
  EXPECT_EQ(p.FWglFontFormat, 1);
  for (bool b : {p.MultiSample(), p.Font3D_Enabled(), p.Font2D_Enabled(), p.Fps_Enabled(),
                 p.Border(), p.ToolWindow(), p.AllowResize(), p.AllowMoving(), p.FWindowCreated,
                 p.FMultiSampleActive, p.FDoubleBuffered})
    EXPECT_FALSE(b);
  EXPECT_EQ(p.LastError(), "");
  EXPECT_EQ(p.Fps(), 0);
  EXPECT_EQ(p.Font3D(), nullptr);
  EXPECT_EQ(p.Font2D(), nullptr);
  EXPECT_EQ(p.FDC, nullptr);
  EXPECT_EQ(p.FRC, nullptr);
  EXPECT_EQ(p.FPalette, nullptr);
  EXPECT_EQ(p.FFrequency, 10000000);
  for (char c : p.FErrorBuffer) EXPECT_EQ(c, 0);
  // The base class's own properties are left alone.
  EXPECT_EQ(p.Width(), 185);
  EXPECT_EQ(p.Height(), 41);
  EXPECT_EQ(p.Color(), clBtnFace);
}

TEST(Panel, FlagSetKeepsExactlyOneOfGdiAndDoubleBuffer) {
  const TPFDFlags gdi = f_PFD_SUPPORT_GDI, dbl = f_PFD_DOUBLEBUFFER;
  struct Case {
    bool gdiCurrent;  // f_PFD_SUPPORT_GDI in the current flags
    TPFDFlagSet written;
    TPFDFlagSet expected;
  };
  const Case cases[] = {
      // both written: the one not yet set wins
      {false, {gdi, dbl, f_PFD_STEREO}, {gdi, f_PFD_STEREO}},
      {true, {gdi, dbl, f_PFD_STEREO}, {dbl, f_PFD_STEREO}},
      // neither written: taking one away brings in the other
      {false, {f_PFD_DRAW_TO_BITMAP}, {f_PFD_DRAW_TO_BITMAP, gdi}},
      {true, {f_PFD_DRAW_TO_BITMAP}, {f_PFD_DRAW_TO_BITMAP, dbl}},
      {false, {}, {gdi}},
      {true, {}, {dbl}},
      // exactly one written: unchanged
      {false, {gdi, f_PFD_NEED_PALETTE}, {gdi, f_PFD_NEED_PALETTE}},
      {true, {dbl, f_PFD_SWAP_LAYER_BUFFERS}, {dbl, f_PFD_SWAP_LAYER_BUFFERS}},
      {true, {gdi}, {gdi}},
      {false, {dbl}, {dbl}},
  };
  for (const Case& c : cases) {
    PanelProbe p(nullptr);
    if (c.gdiCurrent) p.SetPFDFlags({gdi});
    ASSERT_EQ(p.PFDFlags().Contains(gdi), c.gdiCurrent);
    p.SetPFDFlags(c.written);
    EXPECT_EQ(p.PFDFlags().Bits(), c.expected.Bits())
        << "current gdi " << c.gdiCurrent << ", written " << c.written.Bits();
  }
}

TEST(Panel, GdiOnAndOffFromTheDefaults) {
  PanelProbe p(nullptr);
  TPFDFlagSet flags = p.PFDFlags();
  p.SetPFDFlags(flags << f_PFD_SUPPORT_GDI);
  EXPECT_EQ(p.PFDFlags().Bits(), (TPFDFlagSet{f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL,
                                              f_PFD_SUPPORT_GDI}).Bits());
  flags = p.PFDFlags();
  p.SetPFDFlags(flags >> f_PFD_SUPPORT_GDI);
  EXPECT_EQ(p.PFDFlags().Bits(), (TPFDFlagSet{f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL,
                                              f_PFD_DOUBLEBUFFER}).Bits());
}

TEST(Panel, SettersDeriveTheirCodes) {
  PanelProbe p(nullptr);
  p.SetPixelType(f_PFD_TYPE_COLORINDEX);
  EXPECT_EQ(p.FPFDPixelType, 1);
  p.SetPixelType(static_cast<TPFDPixelTypes>(7));  // any other ordinal is colour index
  EXPECT_EQ(p.FPFDPixelType, 1);
  p.SetPixelType(f_PFD_TYPE_RGBA);
  EXPECT_EQ(p.FPFDPixelType, 0);
  p.SetFont3D_Format(f_WGL_FONT_LINES);
  EXPECT_EQ(p.FWglFontFormat, 0);
  EXPECT_EQ(p.Font3D_Format(), f_WGL_FONT_LINES);
  p.SetFont3D_Format(f_WGL_FONT_POLYGONS);
  EXPECT_EQ(p.FWglFontFormat, 1);
}

TEST(Panel, StoringSettersTakeAnyValueUnchecked) {
  PanelProbe p(nullptr);
  p.SetcColorBits(0);
  p.SetcDepthBits(255);
  p.SetcAccBits(7);
  p.SetPixelsPerInch(-3);
  p.SetPrintScale(pglNone);
  p.SetFont3D_NumGylph(-5);
  EXPECT_EQ(p.cColorBits(), 0);
  EXPECT_EQ(p.cDepthBits(), 255);
  EXPECT_EQ(p.cAccBits(), 7);
  EXPECT_EQ(p.PixelsPerInch(), -3);
  EXPECT_EQ(p.PrintScale(), pglNone);
  EXPECT_EQ(p.Font3D_NumGylph(), -5);
}

TEST(Panel, FontAssignKeepsThePanelsObject) {
  PanelProbe p(nullptr);
  TFont* own = p.Font3D_Type();
  auto* theirs = new TFont;
  theirs->SetName("Courier New");
  theirs->SetHeight(-20);
  p.SetFont3D_Type(theirs);
  EXPECT_EQ(p.Font3D_Type(), own);
  EXPECT_EQ(own->Name(), "Courier New");
  theirs->SetName("Times New Roman");
  delete theirs;
  EXPECT_EQ(own->Name(), "Courier New");
  EXPECT_EQ(own->Height(), -20);
  EXPECT_EQ(p.Font2D_Type()->Name(), "Arial");
  EXPECT_THROW(p.SetFont2D_Type(nullptr), EConvertError);
}

TEST(Panel, StyleSettersOnlyStoreBeforeTheWindowExists) {
  PanelProbe p(nullptr);  // no parent: touching the window would raise
  p.SetToolWindow(true);
  p.SetBorder(true);
  p.SetAllowResize(true);
  EXPECT_TRUE(p.ToolWindow() && p.Border() && p.AllowResize());
  EXPECT_FALSE(p.HandleAllocated());
}

TEST(Panel, IsCreatedByClassNameThroughTheRegistry) {
  RegisterClass(TOpenGLLumoPanel::StaticClass());
  TComponent owner(nullptr);
  TComponent* made = CreateComponent(FindClass("TOpenGLLumoPanel"), &owner);
  auto* panel = dynamic_cast<TOpenGLLumoPanel*>(made);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->cColorBits(), 32);
}

TEST(Panel, DestroyingAPanelWhoseWindowExistsIsSafe) {
  TForm form(nullptr);
  auto* p = new PanelProbe(&form);
  p->SetParent(&form);
  form.Show();
  HWND w = p->Handle();
  ASSERT_TRUE(IsWindow(w));
  delete p;
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(form.ControlCount(), 0);
}
