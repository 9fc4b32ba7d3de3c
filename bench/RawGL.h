// What a user would write by hand instead of the panel: a child window with
// its own pixel format and WGL context, painting through WM_PAINT.
#pragma once

#include <windows.h>

class RawGLWindow {
 public:
  // Creates the window, sets the pixel format and makes the context current.
  RawGLWindow(HWND parent, int x, int y, int width, int height);
  ~RawGLWindow();
  RawGLWindow(const RawGLWindow&) = delete;
  RawGLWindow& operator=(const RawGLWindow&) = delete;

  HWND Handle() const { return wnd_; }
  bool Ok() const { return rc_ != nullptr; }
  int Frames() const { return frames_; }

 private:
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  void Paint();

  HWND wnd_ = nullptr;
  HDC dc_ = nullptr;
  HGLRC rc_ = nullptr;
  int frames_ = 0;
};
