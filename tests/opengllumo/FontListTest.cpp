#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PanelForm.h"
#include "platform/PlatformOps.h"
#include "support/HandleLedger.h"

using platform::Replace;
using platform::sys;

namespace {

// Lit pixels of the panel's 64 by 64 back buffer after drawing one list on
// black. A child window's front buffer reads black here, so the back one.
int LitPixelsAfter(GLuint List, void (*Place)()) {
  glViewport(0, 0, 64, 64);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_DEPTH_TEST);
  glColor3f(1, 1, 1);
  Place();
  glCallList(List);
  glFinish();
  std::vector<unsigned char> rgb(64 * 64 * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 64, 64, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  int lit = 0;
  for (std::size_t i = 0; i < rgb.size(); i += 3) lit += rgb[i] > 128;
  return lit;
}

// Outline glyphs are about one unit high.
void PlaceOutline() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-0.25, 1.25, -0.25, 1.25, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void PlaceBitmap() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 64, 0, 64, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRasterPos2i(8, 8);
}

void PlaceNothing() { PlaceBitmap(); }

}  // namespace

class Fonts : public testing::Test {
 protected:
  void SetUp() override {
    p = form.Add();
    p->SetOnError(Bind<&ErrorLog::OnError>(&log));
    ASSERT_TRUE(p->CreateRenderingContext());
  }
  // After the panel's window is gone.
  std::string Unbalanced() {
    p->DestroyHandle();
    return ledger.Unbalanced();
  }

  HandleLedger ledger;
  ErrorLog log;
  PanelForm form;
  ManualPanel* p = nullptr;
};

TEST_F(Fonts, OutlinesWithTheDefaultsDrawTheirGlyphs) {
  p->BuildFont3D();
  OpenGLLumoFont3D* f = p->Font3D();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FirstGlyph, 32);
  EXPECT_EQ(f->NumGlyphs, 96);
  EXPECT_EQ(f->Extrusion, 0.1f);
  ASSERT_NE(f->GlyphMetrics, nullptr);
  for (char c : {'!', 'W', '~'}) EXPECT_GT(f->GlyphMetrics[c - 32].gmfCellIncX, 0.0f) << c;
  EXPECT_GT(f->GlyphMetrics['W' - 32].gmfBlackBoxX, f->GlyphMetrics['i' - 32].gmfBlackBoxX);

  EXPECT_EQ(LitPixelsAfter(f->ListBase + ' ' - 32, &PlaceOutline), 0);
  EXPECT_GT(LitPixelsAfter(f->ListBase + 'W' - 32, &PlaceOutline), 100);
  EXPECT_EQ(p->LastError(), "");
  EXPECT_EQ(Unbalanced(), "");
  EXPECT_EQ(ledger.lists.released, 1);
}

TEST_F(Fonts, BitmapsDrawTheirGlyphs) {
  p->BuildFont2D();
  OpenGLLumoFont2D* f = p->Font2D();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FirstGlyph, 32);
  EXPECT_EQ(f->NumGlyphs, 96);
  EXPECT_EQ(LitPixelsAfter(0, &PlaceNothing), 0);
  EXPECT_GT(LitPixelsAfter(f->ListBase + 'W' - 32, &PlaceBitmap), 10);
  EXPECT_EQ(Unbalanced(), "");
}

TEST_F(Fonts, TheOutlineCallGetsTheProperties) {
  struct Call {
    HDC dc;
    DWORD first, count, base;
    FLOAT deviation, extrusion;
    int format;
  };
  static Call call;
  Replace spy(sys.wglUseFontOutlinesA, [](HDC dc, DWORD first, DWORD count, DWORD base, FLOAT dev,
                                         FLOAT ext, int format, LPGLYPHMETRICSFLOAT m) {
    call = {dc, first, count, base, dev, ext, format};
    return platform::real.wglUseFontOutlinesA(dc, first, count, base, dev, ext, format, m);
  });
  p->SetFont3D_FirstGylph(65);
  p->SetFont3D_NumGylph(26);
  p->SetFont3D_MaxDeviation(0.5f);
  p->SetFont3D_Extrustion(0.25f);
  for (TFont3DFormat format : {f_WGL_FONT_LINES, f_WGL_FONT_POLYGONS}) {
    p->SetFont3D_Format(format);
    p->BuildFont3D();
    ASSERT_NE(p->Font3D(), nullptr);
    EXPECT_EQ(call.format, format == f_WGL_FONT_LINES ? WGL_FONT_LINES : WGL_FONT_POLYGONS);
    EXPECT_EQ(call.dc, p->FDC);
    EXPECT_EQ(call.first, 65u);
    EXPECT_EQ(call.count, 26u);
    EXPECT_EQ(call.base, p->Font3D()->ListBase);
    EXPECT_EQ(call.deviation, 0.5f);
    EXPECT_EQ(call.extrusion, 0.25f);
    EXPECT_EQ(p->Font3D()->Extrusion, 0.25f);
  }
  EXPECT_GT(LitPixelsAfter(p->Font3D()->ListBase + 'W' - 65, &PlaceOutline), 100);
}

TEST_F(Fonts, NothingToBuildGivesNoRecordAndNoError) {
  p->SetFont3D_NumGylph(0);
  p->SetFont2D_NumGylph(0);
  p->BuildFont3D();
  p->BuildFont2D();
  EXPECT_EQ(p->Font3D(), nullptr);
  EXPECT_EQ(p->Font2D(), nullptr);
  EXPECT_EQ(p->MakeFont3D(nullptr, 32, 96, 1.0f, 0.1f, 1), nullptr);
  EXPECT_EQ(p->MakeFont2D(nullptr, 32, 96), nullptr);
  EXPECT_EQ(ledger.lists.obtained, 0);
  EXPECT_EQ(ledger.fonts.obtained, 0);
  EXPECT_EQ(p->LastError(), "");
  EXPECT_TRUE(log.seen.empty());
}

// The copy is deleted once it is no longer selected, and the font that was
// selected before is back.
TEST_F(Fonts, TheFontCopyIsDeselectedBeforeItIsDeleted) {
  static HDC dc;
  static int deletedWhileSelected;
  dc = p->FDC;
  deletedWhileSelected = 0;
  HGDIOBJ before = GetCurrentObject(p->FDC, OBJ_FONT);
  platform::Ops below = sys;
  static BOOL (*deleteBelow)(HGDIOBJ);
  deleteBelow = below.DeleteObject;
  Replace spy(sys.DeleteObject, [](HGDIOBJ o) {
    deletedWhileSelected += GetCurrentObject(dc, OBJ_FONT) == o;
    return deleteBelow(o);
  });
  p->BuildFont3D();
  p->BuildFont2D();
  EXPECT_EQ(deletedWhileSelected, 0);
  EXPECT_EQ(GetCurrentObject(p->FDC, OBJ_FONT), before);
  EXPECT_EQ(ledger.fonts.obtained, 2);
  EXPECT_EQ(ledger.fonts.released, 2);
}

TEST_F(Fonts, ABuildReplacesTheRecordAndItsListsOnce) {
  p->BuildFont3D();
  p->SetFont3D_FirstGylph(48);  // a property change alone leaves the lists
  EXPECT_EQ(p->Font3D()->FirstGlyph, 32);
  p->BuildFont3D();
  EXPECT_EQ(p->Font3D()->FirstGlyph, 48);
  EXPECT_EQ(ledger.lists.obtained, 2);
  EXPECT_EQ(ledger.lists.released, 1);
  p->BuildFont2D();
  p->BuildFont2D();
  EXPECT_EQ(Unbalanced(), "");
  EXPECT_EQ(ledger.lists.obtained, 4);
  EXPECT_EQ(p->Font3D(), nullptr);
  EXPECT_EQ(p->Font2D(), nullptr);
}

// A glyph call that fails still gives a record; its metrics read as zeros,
// never as whatever the memory held.
TEST_F(Fonts, AFailedGlyphCallLeavesClearedMetrics) {
  Replace fail(sys.wglUseFontOutlinesA,
               [](HDC, DWORD, DWORD, DWORD, FLOAT, FLOAT, int, LPGLYPHMETRICSFLOAT) { return FALSE; });
  // Freed memory of the same size, full of junk, is what the heap hands out next.
  auto* junk = new GLYPHMETRICSFLOAT[96];
  std::memset(static_cast<void*>(junk), 0xCD, 96 * sizeof(GLYPHMETRICSFLOAT));
  delete[] junk;
  p->BuildFont3D();
  ASSERT_NE(p->Font3D(), nullptr);
  const auto* bytes = reinterpret_cast<const unsigned char*>(p->Font3D()->GlyphMetrics);
  int nonZero = 0;
  for (std::size_t i = 0; i < 96 * sizeof(GLYPHMETRICSFLOAT); ++i) nonZero += bytes[i] != 0;
  EXPECT_EQ(nonZero, 0);
  EXPECT_EQ(p->LastError(), "");
}
