// The font display lists: one list per character, built from the panel's
// outline and bitmap fonts in the current rendering context.
#include <memory>

#include "Topengllumopanel.h"
#include "platform/PlatformOps.h"

using platform::sys;

namespace {

// A private copy of the font, selected into the device context while the
// glyphs are built. GDI keeps a selected font alive, so the previous font is
// put back before the copy is deleted.
class SelectedFontCopy {
 public:
  SelectedFontCopy(HDC DC, TFont* Font) : dc_(DC) {
    LOGFONTA description = {};
    sys.GetObjectA(Font->Handle(), sizeof description, &description);
    copy_ = sys.CreateFontIndirectA(&description);
    if (copy_) previous_ = sys.SelectObject(dc_, copy_);
  }
  ~SelectedFontCopy() {
    if (previous_) sys.SelectObject(dc_, previous_);
    if (copy_) sys.DeleteObject(copy_);
  }
  SelectedFontCopy(const SelectedFontCopy&) = delete;
  SelectedFontCopy& operator=(const SelectedFontCopy&) = delete;

 private:
  HDC dc_;
  HFONT copy_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

OpenGLLumoFont3D::~OpenGLLumoFont3D() {
  delete[] GlyphMetrics;
  sys.glDeleteLists(ListBase, NumGlyphs);
}

OpenGLLumoFont2D::~OpenGLLumoFont2D() { sys.glDeleteLists(ListBase, NumGlyphs); }

OpenGLLumoFont3D* TOpenGLLumoPanel::MakeFont3D(TFont* Font, int FirstGlyph, int NumGlyphs,
                                               float MaxDeviation, float Extrusion, int Format) {
  if (!Font) return nullptr;
  GLuint listBase = sys.glGenLists(NumGlyphs);
  if (listBase == 0) return nullptr;
  // Owned from here, so the names go back if the metrics cannot be allocated.
  std::unique_ptr<OpenGLLumoFont3D> record(new OpenGLLumoFont3D);
  record->FirstGlyph = FirstGlyph;
  record->NumGlyphs = NumGlyphs;
  record->ListBase = listBase;
  record->Extrusion = Extrusion;
  record->GlyphMetrics = new GLYPHMETRICSFLOAT[NumGlyphs]();

  SelectedFontCopy copy(FDC, Font);
  sys.wglUseFontOutlinesA(FDC, FirstGlyph, NumGlyphs, listBase, MaxDeviation, Extrusion, Format,
                          record->GlyphMetrics);
  return record.release();
}

OpenGLLumoFont2D* TOpenGLLumoPanel::MakeFont2D(TFont* Font, int FirstGlyph, int NumGlyphs) {
  if (!Font) return nullptr;
  GLuint listBase = sys.glGenLists(NumGlyphs);
  if (listBase == 0) return nullptr;
  std::unique_ptr<OpenGLLumoFont2D> record(new OpenGLLumoFont2D);
  record->FirstGlyph = FirstGlyph;
  record->NumGlyphs = NumGlyphs;
  record->ListBase = listBase;

  SelectedFontCopy copy(FDC, Font);
  sys.wglUseFontBitmapsA(FDC, FirstGlyph, NumGlyphs, listBase);
  return record.release();
}

void TOpenGLLumoPanel::BuildFont3D() {
  delete FFont3D;
  FFont3D = nullptr;
  FFont3D = MakeFont3D(FFont3D_Type, FFont3D_FirstGylph, FFont3D_NumGylph, FFont3D_MaxDeviation,
                       FFont3D_Extrustion, FWglFontFormat);
}

void TOpenGLLumoPanel::BuildFont2D() {
  delete FFont2D;
  FFont2D = nullptr;
  FFont2D = MakeFont2D(FFont2D_Type, FFont2D_FirstGylph, FFont2D_NumGylph);
}
