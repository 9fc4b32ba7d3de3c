// The pixel format and the rendering context of the panel's window, from
// creation to teardown.
#include "Topengllumopanel.h"
#include "platform/PlatformOps.h"

using platform::sys;

namespace {

// The device context is given back once; a later teardown finds it null.
void ReleaseWindowDC(HWND Wnd, HDC& DC) {
  sys.ReleaseDC(Wnd, DC);
  DC = nullptr;
}

// GDI refuses to delete a palette that is still selected, so the stock one
// takes its place first.
BOOL DeletePalette(HDC DC, HPALETTE Palette) {
  sys.SelectPalette(DC, static_cast<HPALETTE>(sys.GetStockObject(DEFAULT_PALETTE)), FALSE);
  return sys.DeleteObject(Palette);
}

}  // namespace

bool TOpenGLLumoPanel::CreateRenderingContext() {
  PIXELFORMATDESCRIPTOR request = PixelFormatRequest();
  int format = 0;
  FMultiSampleActive = false;
  if (FMultiSample) {
    format = ChooseMultiSampleFormat();
    FMultiSampleActive = format != -1;
    FMultiSample = FMultiSampleActive;
  }

  FDC = sys.GetDC(FHandle);
  if (!FMultiSampleActive) {
    format = sys.ChoosePixelFormat(FDC, &request);
    if (format == 0) {
      ReportSystemError("ChoosePixelFormat:");
      ReleaseWindowDC(FHandle, FDC);
      return false;
    }
  }
  if (sys.SetPixelFormat(FDC, format, &request) != TRUE) {
    ReportSystemError("SetPixelFormat:");
    ReleaseWindowDC(FHandle, FDC);
    return false;
  }
  FDoubleBuffered = (request.dwFlags & PFD_DOUBLEBUFFER) != 0;
  sys.DescribePixelFormat(FDC, format, sizeof request, &request);
  FPFD = request;

  FPalette = nullptr;
  if ((FPFD.dwFlags & PFD_NEED_PALETTE) && !ConstructPalette(FPFD)) {
    ReleaseWindowDC(FHandle, FDC);
    return false;
  }

  FRC = sys.wglCreateContext(FDC);
  if (!FRC) {
    ReportSystemError("wglRenderingContext:");
    if (FPalette && !DeletePalette(FDC, FPalette)) ReportFixedError("DeleteObject: Failed");
    FPalette = nullptr;
    ReleaseWindowDC(FHandle, FDC);
    return false;
  }
  return MakeCurrent();
}

void TOpenGLLumoPanel::DestroyRenderingContext() {
  // Display-list names belong to a context: with several panels on one
  // thread, whichever context is current may be another panel's.
  if (FRC && (FFont3D || FFont2D)) MakeCurrent();
  delete FFont3D;
  FFont3D = nullptr;
  delete FFont2D;
  FFont2D = nullptr;

  sys.wglMakeCurrent(nullptr, nullptr);
  if (FRC) {
    if (!sys.wglDeleteContext(FRC)) ReportSystemError("wglDeleteContext:");
    if (FPalette && !DeletePalette(FDC, FPalette)) ReportSystemError("DeleteObject Failed:");
    FRC = nullptr;
    FPalette = nullptr;
  }
  if (FDC) {
    if (!sys.ReleaseDC(FHandle, FDC)) ReportSystemError("ReleaseDC Failed:");
    FDC = nullptr;
  }
}

bool TOpenGLLumoPanel::MakeCurrent() {
  if (sys.wglGetCurrentContext() == FRC && sys.wglGetCurrentDC() == FDC) return true;
  if (sys.wglMakeCurrent(FDC, FRC)) return true;
  ReportSystemError("wglMakeCurrent:");
  return false;
}
