// Gives tests a view of the panel's fields and inner operations.
#pragma once

#include "opengllumo/Topengllumopanel.h"

struct PanelProbe : TOpenGLLumoPanel {
  explicit PanelProbe(TComponent* AOwner) : TOpenGLLumoPanel(AOwner) {}
  using TOpenGLLumoPanel::CreateRenderingContext;
  using TOpenGLLumoPanel::DestroyRenderingContext;
  using TOpenGLLumoPanel::DoError;
  using TOpenGLLumoPanel::FDC;
  using TOpenGLLumoPanel::FDoubleBuffered;
  using TOpenGLLumoPanel::FErrorBuffer;
  using TOpenGLLumoPanel::FFrequency;
  using TOpenGLLumoPanel::FMultiSampleActive;
  using TOpenGLLumoPanel::FPalette;
  using TOpenGLLumoPanel::FPFD;
  using TOpenGLLumoPanel::FPFDPixelType;
  using TOpenGLLumoPanel::FRC;
  using TOpenGLLumoPanel::FWglFontFormat;
  using TOpenGLLumoPanel::FWindowCreated;
  using TOpenGLLumoPanel::PixelFormatRequest;
  using TOpenGLLumoPanel::ReportFixedError;
  using TOpenGLLumoPanel::ReportSystemError;
};

// Counts OnError calls and keeps what LastError held at each.
struct ErrorLog {
  std::vector<AnsiString> seen;
  void OnError(TObject* Sender) {
    seen.push_back(static_cast<TOpenGLLumoPanel*>(Sender)->LastError());
  }
};
