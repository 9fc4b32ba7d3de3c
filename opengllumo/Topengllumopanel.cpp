// The class: construction, destruction and the storing setters.
#include "Topengllumopanel.h"

#include <cstring>

#include "platform/PlatformOps.h"

using platform::sys;

LUMO_IMPLEMENT_COMPONENT(TOpenGLLumoPanel, TCustomPanel)

TOpenGLLumoPanel::TOpenGLLumoPanel(TComponent* AOwner)
    : TCustomPanel(AOwner),
      FDC(nullptr),
      FRC(nullptr),
      FPalette(nullptr),
      FDoubleBuffered(false),
      FFont3D_Type(nullptr),
      FFont3D(nullptr),
      FFont2D_Type(nullptr),
      FFont2D(nullptr),
      FFrequency(0),
      FToolWindow(false),
      FBorder(false),
      FAllowResize(false),
      FAllowMoving(false),
      FMultiSample(false),
      FFps(0) {
  std::memset(FErrorBuffer, 0, sizeof FErrorBuffer);
  std::memset(&FPFD, 0, sizeof FPFD);

  FLastError = "";
  FWindowCreated = false;
  FPFDFlags = TPFDFlagSet{f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_DOUBLEBUFFER};

  FPixelType = f_PFD_TYPE_RGBA;
  FPFDPixelType = 0;
  FcColorBits = 32;
  FcDepthBits = 32;
  FcAccBits = 8;

  FGLSwapBuffers = Auto;
  FPrintScale = pglProportional;
  FPixelsPerInch = 96;

  FFont3D_Enabled = false;
  FFont3D_Type = NewPanelFont();
  FFont3D_FirstGylph = 32;
  FFont3D_NumGylph = 96;
  FFont3D_MaxDeviation = 1.0f;
  FFont3D_Extrustion = 0.1f;
  FFont3D_Format = f_WGL_FONT_POLYGONS;
  FWglFontFormat = 1;
  FFont3D = nullptr;

  FFont2D_Enabled = false;
  FFont2D_Type = NewPanelFont();
  FFont2D_FirstGylph = 32;
  FFont2D_NumGylph = 96;
  FFont2D = nullptr;

  FFps_Enabled = false;
  FMultiSampleActive = false;

  LARGE_INTEGER frequency = {};
  sys.QueryPerformanceFrequency(&frequency);
  FFrequency = frequency.QuadPart;
}

TFont* TOpenGLLumoPanel::NewPanelFont() {
  TFont* font = new TFont;
  font->SetName("Arial");
  TFontStyles style = font->Style();
  font->SetStyle(style << fsBold);
  font->SetHeight(-9);
  font->SetCharset(0);
  return font;
}

TOpenGLLumoPanel::~TOpenGLLumoPanel() {
  // The window's teardown reports through members freed below, so the window
  // goes first, while the whole panel is still alive.
  DestroyHandle();
  delete FFont2D_Type;
  FFont2D_Type = nullptr;
  delete FFont3D_Type;
  FFont3D_Type = nullptr;
  FLastError.clear();
  FLastError.shrink_to_fit();
}

void TOpenGLLumoPanel::SetPixelType(TPFDPixelTypes Value) {
  FPFDPixelType = Value == f_PFD_TYPE_RGBA ? 0 : 1;
  FPixelType = Value;
}

void TOpenGLLumoPanel::SetPFDFlags(TPFDFlagSet Value) {
  // Exactly one of SUPPORT_GDI and DOUBLEBUFFER stays: of two, the one not
  // yet set wins; of none, the one that was not just taken away comes in.
  bool gdiNow = FPFDFlags.Contains(f_PFD_SUPPORT_GDI);
  bool gdi = Value.Contains(f_PFD_SUPPORT_GDI);
  bool doubleBuffer = Value.Contains(f_PFD_DOUBLEBUFFER);
  if (gdi && doubleBuffer) Value >> (gdiNow ? f_PFD_SUPPORT_GDI : f_PFD_DOUBLEBUFFER);
  if (!gdi && !doubleBuffer) Value << (gdiNow ? f_PFD_DOUBLEBUFFER : f_PFD_SUPPORT_GDI);
  FPFDFlags = Value;
}

void TOpenGLLumoPanel::SetcColorBits(unsigned char Value) { FcColorBits = Value; }
void TOpenGLLumoPanel::SetcDepthBits(unsigned char Value) { FcDepthBits = Value; }
void TOpenGLLumoPanel::SetcAccBits(unsigned char Value) { FcAccBits = Value; }
void TOpenGLLumoPanel::SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
void TOpenGLLumoPanel::SetPrintScale(TOpenGLPrintScale Value) { FPrintScale = Value; }

void TOpenGLLumoPanel::SetFont3D_Type(TFont* Value) { FFont3D_Type->Assign(Value); }
void TOpenGLLumoPanel::SetFont2D_Type(TFont* Value) { FFont2D_Type->Assign(Value); }

void TOpenGLLumoPanel::SetFont3D_Format(TFont3DFormat Value) {
  FWglFontFormat = Value == f_WGL_FONT_LINES ? 0 : 1;
  FFont3D_Format = Value;
}

void TOpenGLLumoPanel::FireEvent(const TNotifyEvent& Event) {
  if (Event.Assigned()) Event(this);
}
