#include "RawGL.h"

#include <GL/gl.h>

#include "Scene.h"

namespace {
const char kClass[] = "RawGLBenchWindow";

void RegisterOnce() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc = {};
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = DefWindowProcA;  // replaced per window below
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
  done = true;
}
}  // namespace

RawGLWindow::RawGLWindow(HWND parent, int x, int y, int width, int height) {
  RegisterOnce();
  wnd_ = CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                         x, y, width, height, parent, nullptr, nullptr, nullptr);
  if (!wnd_) return;
  SetWindowLongPtrA(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProc));
  dc_ = GetDC(wnd_);
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.cColorBits = 32;
  pfd.cAlphaBits = 1;
  pfd.cAccumBits = 8;
  pfd.cDepthBits = 32;
  int format = ChoosePixelFormat(dc_, &pfd);
  if (!format || !SetPixelFormat(dc_, format, &pfd)) return;
  rc_ = wglCreateContext(dc_);
  if (rc_) wglMakeCurrent(dc_, rc_);
}

RawGLWindow::~RawGLWindow() {
  wglMakeCurrent(nullptr, nullptr);
  if (rc_) wglDeleteContext(rc_);
  if (dc_) ReleaseDC(wnd_, dc_);
  if (wnd_) DestroyWindow(wnd_);
}

LRESULT CALLBACK RawGLWindow::WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<RawGLWindow*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (self && msg == WM_PAINT) {
    self->Paint();
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return DefWindowProcA(wnd, msg, wp, lp);
}

void RawGLWindow::Paint() {
  PAINTSTRUCT ps;
  BeginPaint(wnd_, &ps);
  if (rc_) {
    if (wglGetCurrentContext() != rc_ || wglGetCurrentDC() != dc_) wglMakeCurrent(dc_, rc_);
    DrawScene(frames_++);
    SwapBuffers(dc_);
  }
  EndPaint(wnd_, &ps);
}
