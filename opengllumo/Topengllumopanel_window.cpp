// The panel in its window: creation parameters, message dispatch, and the
// OpenGL state built with the window and torn down with it.
#include "Topengllumopanel.h"
#include "platform/PlatformOps.h"

using platform::sys;

void TOpenGLLumoPanel::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  // A private device context keeps the pixel format and the palette for the
  // window's whole life.
  Params.WindowClass.style |= CS_OWNDC;
  FWindowCreated = true;
  FireEvent(FOnPreInit);
}

void TOpenGLLumoPanel::Dispatch(void* Message) {
  TMessage& m = *static_cast<TMessage*>(Message);
  switch (m.Msg) {
    case WM_CREATE: WMCreate(m); return;
    case WM_DESTROY: WMDestroy(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_MOVING: WMMoving(m); return;
    case WM_QUERYNEWPALETTE: WMQueryNewPalette(m); return;
    case WM_PALETTECHANGED: WMPaletteChanged(m); return;
  }
  inherited::Dispatch(Message);
}

// Neither passes the message on nor writes its result, so the window is
// created whatever happens here; without a context it lives on without one.
void TOpenGLLumoPanel::WMCreate(TMessage&) {
  try {
    if (!CreateRenderingContext()) {
      ReportFixedError("Open GL Context Create Failed");
      return;
    }
    if (FFont3D_Enabled) BuildFont3D();
    if (FFont2D_Enabled) BuildFont2D();
    // The stored values take effect on the new window; this order, not the
    // order of declaration.
    SetToolWindow(FToolWindow);
    SetAllowResize(FAllowResize);
    SetBorder(FBorder);
    FireEvent(FOnInit);
  } catch (...) {
    // Window creation goes on whatever an event handler or the framework threw.
  }
}

void TOpenGLLumoPanel::WMDestroy(TMessage& Message) {
  DestroyRenderingContext();
  inherited::Dispatch(&Message);
}

// At run time everything visible comes from the paint; erasing would flicker.
void TOpenGLLumoPanel::WMEraseBkgnd(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) inherited::Dispatch(&Message);
}

// Releasing the capture ends the system's move loop at its first step.
void TOpenGLLumoPanel::WMMoving(TMessage&) {
  if (!FAllowMoving) sys.ReleaseCapture();
}

void TOpenGLLumoPanel::Resize() { FireEvent(FOnResize); }
