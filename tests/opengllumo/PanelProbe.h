// Gives tests a view of the panel's fields and inner operations.
#pragma once

#include <vector>

#include "opengllumo/Topengllumopanel.h"

struct PanelProbe : TOpenGLLumoPanel {
  explicit PanelProbe(TComponent* AOwner) : TOpenGLLumoPanel(AOwner) {}
  using TOpenGLLumoPanel::CreateRenderingContext;
  using TOpenGLLumoPanel::DestroyRenderingContext;
  using TOpenGLLumoPanel::ChooseMultiSampleFormat;
  using TOpenGLLumoPanel::ConstructPalette;
  using TOpenGLLumoPanel::MakeFont3D;
  using TOpenGLLumoPanel::MakeFont2D;
  using TOpenGLLumoPanel::DoError;
  using TOpenGLLumoPanel::PixelFormatRequest;
  using TOpenGLLumoPanel::ReportFixedError;
  using TOpenGLLumoPanel::ReportSystemError;
  using TOpenGLLumoPanel::WMCreate;
  using TOpenGLLumoPanel::WMDestroy;
  using TOpenGLLumoPanel::WMEraseBkgnd;
  using TOpenGLLumoPanel::WMMoving;
  using TOpenGLLumoPanel::WMQueryNewPalette;
  using TOpenGLLumoPanel::WMPaletteChanged;
  using TOpenGLLumoPanel::CreateParams;
  using TOpenGLLumoPanel::Paint;
  using TOpenGLLumoPanel::Resize;
  using TOpenGLLumoPanel::PaintDC;
  using TOpenGLLumoPanel::FDC;
  using TOpenGLLumoPanel::FRC;
  using TOpenGLLumoPanel::FPalette;
  using TOpenGLLumoPanel::FPFDFlags;
  using TOpenGLLumoPanel::FDoubleBuffered;
  using TOpenGLLumoPanel::FPFDPixelType;
  using TOpenGLLumoPanel::FWglFontFormat;
  using TOpenGLLumoPanel::FFont3D;
  using TOpenGLLumoPanel::FFont2D;
  using TOpenGLLumoPanel::FErrorBuffer;
  using TOpenGLLumoPanel::FFrequency;
  using TOpenGLLumoPanel::FWindowCreated;
  using TOpenGLLumoPanel::FMultiSampleActive;
  using TOpenGLLumoPanel::FFps;
  using TOpenGLLumoPanel::FPFD;
  using TOpenGLLumoPanel::FLastError;
};

// Counts OnError calls and keeps what LastError held at each.
struct ErrorLog {
  std::vector<AnsiString> seen;
  void OnError(TObject* Sender) {
    seen.push_back(static_cast<TOpenGLLumoPanel*>(Sender)->LastError());
  }
};
