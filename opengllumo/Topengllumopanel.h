// TOpenGLLumoPanel: a panel whose own window carries an OpenGL rendering
// context. The application draws with its own OpenGL calls in OnPaint.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include "vcl/ExtCtrls.h"

enum TPFDPixelTypes { f_PFD_TYPE_RGBA, f_PFD_TYPE_COLORINDEX };
enum TOpenGLSwapBuffers { Auto, Manual };
enum TOpenGLPrintScale { pglNone, pglPrintToFit, pglProportional };
enum TFont3DFormat { f_WGL_FONT_LINES, f_WGL_FONT_POLYGONS };
enum TPFDFlags {
  f_PFD_DRAW_TO_WINDOW,
  f_PFD_DRAW_TO_BITMAP,
  f_PFD_SUPPORT_GDI,
  f_PFD_SUPPORT_OPENGL,
  f_PFD_GENERIC_ACCELERATED,
  f_PFD_GENERIC_FORMAT,
  f_PFD_NEED_PALETTE,
  f_PFD_NEED_SYSTEM_PALETTE,
  f_PFD_DOUBLEBUFFER,
  f_PFD_STEREO,
  f_PFD_SWAP_LAYER_BUFFERS
};
typedef Set<TPFDFlags, f_PFD_DRAW_TO_WINDOW, f_PFD_SWAP_LAYER_BUFFERS> TPFDFlagSet;
static_assert(sizeof(TPFDFlagSet) == 2, "the flag set is held in 16 bits");

// One built range of outline-font display lists.
struct OpenGLLumoFont3D {
  OpenGLLumoFont3D() : GlyphMetrics(nullptr) {}
  ~OpenGLLumoFont3D();
  OpenGLLumoFont3D(const OpenGLLumoFont3D&) = delete;
  OpenGLLumoFont3D& operator=(const OpenGLLumoFont3D&) = delete;

  int FirstGlyph;
  int NumGlyphs;
  GLuint ListBase;
  float Extrusion;
  GLYPHMETRICSFLOAT* GlyphMetrics;
};

// One built range of bitmap-font display lists.
struct OpenGLLumoFont2D {
  OpenGLLumoFont2D() {}
  ~OpenGLLumoFont2D();
  OpenGLLumoFont2D(const OpenGLLumoFont2D&) = delete;
  OpenGLLumoFont2D& operator=(const OpenGLLumoFont2D&) = delete;

  int FirstGlyph;
  int NumGlyphs;
  GLuint ListBase;
};

namespace Topengllumopanel {
void Register();
}

class TOpenGLLumoPanel : public TCustomPanel {
  LUMO_DECLARE_CLASS(TOpenGLLumoPanel, TCustomPanel)
 public:
  explicit TOpenGLLumoPanel(TComponent* AOwner);
  ~TOpenGLLumoPanel() override;

  // Published properties.
  TPFDPixelTypes PixelType() const { return FPixelType; }
  void SetPixelType(TPFDPixelTypes Value);
  TPFDFlagSet PFDFlags() const { return FPFDFlags; }
  void SetPFDFlags(TPFDFlagSet Value);
  unsigned char cColorBits() const { return FcColorBits; }
  void SetcColorBits(unsigned char Value);
  unsigned char cDepthBits() const { return FcDepthBits; }
  void SetcDepthBits(unsigned char Value);
  unsigned char cAccBits() const { return FcAccBits; }
  void SetcAccBits(unsigned char Value);
  LUMO_FIELD_PROPERTY(bool, MultiSample)
  LUMO_FIELD_PROPERTY(TOpenGLSwapBuffers, GLSwapBuffers)
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);
  TOpenGLPrintScale PrintScale() const { return FPrintScale; }
  void SetPrintScale(TOpenGLPrintScale Value);
  LUMO_FIELD_PROPERTY(bool, Font3D_Enabled)
  TFont* Font3D_Type() const { return FFont3D_Type; }
  void SetFont3D_Type(TFont* Value);
  LUMO_FIELD_PROPERTY(int, Font3D_FirstGylph)
  LUMO_FIELD_PROPERTY(int, Font3D_NumGylph)
  LUMO_FIELD_PROPERTY(float, Font3D_MaxDeviation)
  LUMO_FIELD_PROPERTY(float, Font3D_Extrustion)
  TFont3DFormat Font3D_Format() const { return FFont3D_Format; }
  void SetFont3D_Format(TFont3DFormat Value);
  LUMO_FIELD_PROPERTY(bool, Font2D_Enabled)
  TFont* Font2D_Type() const { return FFont2D_Type; }
  void SetFont2D_Type(TFont* Value);
  LUMO_FIELD_PROPERTY(int, Font2D_FirstGylph)
  LUMO_FIELD_PROPERTY(int, Font2D_NumGylph)
  LUMO_FIELD_PROPERTY(bool, Fps_Enabled)
  bool Border() const { return FBorder; }
  void SetBorder(bool Value);
  bool ToolWindow() const { return FToolWindow; }
  void SetToolWindow(bool Value);
  bool AllowResize() const { return FAllowResize; }
  void SetAllowResize(bool Value);
  LUMO_FIELD_PROPERTY(bool, AllowMoving)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnInit)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnPreInit)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnError)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnResize)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnPaint)

  // Read at run time.
  const AnsiString& LastError() const { return FLastError; }
  int Fps() const { return FFps; }
  OpenGLLumoFont3D* Font3D() const { return FFont3D; }
  OpenGLLumoFont2D* Font2D() const { return FFont2D; }

  // Makes the panel's context current on the calling thread, for drawing
  // outside OnPaint; does nothing when it already is.
  bool MakeCurrent();
  // Build the font display lists again from the current font properties;
  // the panel's context must be current (for example inside OnInit).
  void BuildFont3D();
  void BuildFont2D();

  void Dispatch(void* Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Resize() override;

  // The pixel-format request built from the current properties.
  PIXELFORMATDESCRIPTOR PixelFormatRequest() const;

  // Error reports: a prefix followed by the system's text for the calling
  // thread's last error code, or a fixed text. Both store the line in
  // LastError; OnError fires unless FireOnError is false.
  void ReportSystemError(const char* Prefix, bool FireOnError = true);
  void ReportFixedError(const char* Text);
  void DoError();

  // Context and window state.
  bool CreateRenderingContext();
  void DestroyRenderingContext();
  int ChooseMultiSampleFormat();
  bool ConstructPalette(const PIXELFORMATDESCRIPTOR& Description);
  OpenGLLumoFont3D* MakeFont3D(TFont* Font, int FirstGlyph, int NumGlyphs, float MaxDeviation,
                               float Extrusion, int Format);
  OpenGLLumoFont2D* MakeFont2D(TFont* Font, int FirstGlyph, int NumGlyphs);

  // Message handlers.
  void WMCreate(TMessage& Message);
  void WMDestroy(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMMoving(TMessage& Message);
  void WMQueryNewPalette(TMessage& Message);
  void WMPaletteChanged(TMessage& Message);

  HDC FDC;
  HGLRC FRC;
  HPALETTE FPalette;
  TPFDFlagSet FPFDFlags;
  bool FDoubleBuffered;
  TPFDPixelTypes FPixelType;
  unsigned char FPFDPixelType;
  unsigned char FcColorBits;
  unsigned char FcDepthBits;
  unsigned char FcAccBits;
  TOpenGLSwapBuffers FGLSwapBuffers;
  TOpenGLPrintScale FPrintScale;
  int FPixelsPerInch;
  bool FFont3D_Enabled;
  TFont* FFont3D_Type;
  int FFont3D_FirstGylph;
  int FFont3D_NumGylph;
  float FFont3D_MaxDeviation;
  float FFont3D_Extrustion;
  TFont3DFormat FFont3D_Format;
  int FWglFontFormat;
  OpenGLLumoFont3D* FFont3D;
  bool FFont2D_Enabled;
  TFont* FFont2D_Type;
  int FFont2D_FirstGylph;
  int FFont2D_NumGylph;
  OpenGLLumoFont2D* FFont2D;
  char FErrorBuffer[260];
  __int64 FFrequency;
  bool FFps_Enabled;
  bool FToolWindow;
  bool FBorder;
  bool FAllowResize;
  bool FAllowMoving;
  bool FWindowCreated;
  bool FMultiSample;
  bool FMultiSampleActive;
  TNotifyEvent FOnPaint;
  TNotifyEvent FOnResize;
  TNotifyEvent FOnInit;
  TNotifyEvent FOnPreInit;
  TNotifyEvent FOnError;
  AnsiString FLastError;
  int FFps;
  PIXELFORMATDESCRIPTOR FPFD;

 private:
  static TFont* NewPanelFont();
  bool StylesApplyToWindow() const;
  void NudgeWidth();
  void FireEvent(const TNotifyEvent& Event);
};
