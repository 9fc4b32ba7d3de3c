// The system operations the panel calls, declared once. Each entry defaults to
// the system's own function (ANSI forms); a test replaces one entry for one
// scope with platform::Replace and leaves the rest real.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <cstddef>
#include <type_traits>

#define LUMO_PLATFORM_OPS(X)                                                                \
  /* user, GDI and kernel */                                                                \
  X(HDC, GetDC, (HWND w), (w))                                                              \
  X(int, ReleaseDC, (HWND w, HDC dc), (w, dc))                                              \
  X(int, ChoosePixelFormat, (HDC dc, const PIXELFORMATDESCRIPTOR* p), (dc, p))              \
  X(BOOL, SetPixelFormat, (HDC dc, int f, const PIXELFORMATDESCRIPTOR* p), (dc, f, p))      \
  X(int, DescribePixelFormat, (HDC dc, int f, UINT n, PIXELFORMATDESCRIPTOR* p),            \
    (dc, f, n, p))                                                                          \
  X(ATOM, RegisterClassExA, (const WNDCLASSEXA* c), (c))                                    \
  X(BOOL, GetClassInfoExA, (HINSTANCE i, LPCSTR name, WNDCLASSEXA* c), (i, name, c))         \
  X(BOOL, UnregisterClassA, (LPCSTR name, HINSTANCE i), (name, i))                           \
  X(HCURSOR, LoadCursorA, (HINSTANCE i, LPCSTR n), (i, n))                                  \
  X(LRESULT, DefWindowProcA, (HWND w, UINT m, WPARAM wp, LPARAM lp), (w, m, wp, lp))        \
  X(HWND, CreateWindowExA,                                                                  \
    (DWORD ex, LPCSTR cls, LPCSTR name, DWORD style, int x, int y, int cx, int cy,          \
     HWND parent, HMENU menu, HINSTANCE inst, LPVOID param),                                \
    (ex, cls, name, style, x, y, cx, cy, parent, menu, inst, param))                        \
  X(BOOL, DestroyWindow, (HWND w), (w))                                                     \
  X(HPALETTE, CreatePalette, (const LOGPALETTE* p), (p))                                    \
  X(HPALETTE, SelectPalette, (HDC dc, HPALETTE p, BOOL background), (dc, p, background))    \
  X(UINT, RealizePalette, (HDC dc), (dc))                                                   \
  X(HGDIOBJ, GetStockObject, (int i), (i))                                                  \
  X(BOOL, DeleteObject, (HGDIOBJ o), (o))                                                   \
  X(int, GetObjectA, (HANDLE h, int n, LPVOID out), (h, n, out))                            \
  X(HFONT, CreateFontIndirectA, (const LOGFONTA* f), (f))                                   \
  X(HGDIOBJ, SelectObject, (HDC dc, HGDIOBJ o), (dc, o))                                    \
  X(BOOL, SwapBuffers, (HDC dc), (dc))                                                      \
  X(LONG, GetWindowLongA, (HWND w, int i), (w, i))                                          \
  X(LONG, SetWindowLongA, (HWND w, int i, LONG v), (w, i, v))                               \
  X(BOOL, InvalidateRect, (HWND w, const RECT* r, BOOL erase), (w, r, erase))               \
  X(BOOL, ReleaseCapture, (), ())                                                           \
  X(DWORD, GetLastError, (), ())                                                            \
  X(DWORD, FormatMessageA,                                                                  \
    (DWORD flags, LPCVOID src, DWORD id, DWORD lang, LPSTR buf, DWORD n, va_list* args),    \
    (flags, src, id, lang, buf, n, args))                                                   \
  X(BOOL, QueryPerformanceFrequency, (LARGE_INTEGER* f), (f))                               \
  X(BOOL, QueryPerformanceCounter, (LARGE_INTEGER* c), (c))                                 \
  X(void*, Malloc, (std::size_t n), (n))                                                    \
  X(void, Free, (void* p), (p))                                                             \
  /* WGL and OpenGL */                                                                      \
  X(HGLRC, wglCreateContext, (HDC dc), (dc))                                                \
  X(BOOL, wglMakeCurrent, (HDC dc, HGLRC rc), (dc, rc))                                     \
  X(HGLRC, wglGetCurrentContext, (), ())                                                    \
  X(HDC, wglGetCurrentDC, (), ())                                                           \
  X(BOOL, wglDeleteContext, (HGLRC rc), (rc))                                               \
  X(PROC, wglGetProcAddress, (LPCSTR name), (name))                                         \
  X(GLuint, glGenLists, (GLsizei n), (n))                                                   \
  X(void, glDeleteLists, (GLuint first, GLsizei n), (first, n))                             \
  X(BOOL, wglUseFontOutlinesA,                                                              \
    (HDC dc, DWORD first, DWORD count, DWORD base, FLOAT deviation, FLOAT extrusion,        \
     int format, LPGLYPHMETRICSFLOAT metrics),                                              \
    (dc, first, count, base, deviation, extrusion, format, metrics))                        \
  X(BOOL, wglUseFontBitmapsA, (HDC dc, DWORD first, DWORD count, DWORD base),               \
    (dc, first, count, base))

namespace platform {

struct Ops {
#define LUMO_OP_FIELD(ret, name, params, args) ret(*name) params;
  LUMO_PLATFORM_OPS(LUMO_OP_FIELD)
#undef LUMO_OP_FIELD
};

// The system's own functions; a replacement that spies calls through these.
extern const Ops real;
// What the panel calls.
extern Ops sys;

// Replaces one entry of `sys` until the end of the scope, whatever happens.
template <typename Fn>
class Replace {
 public:
  Replace(Fn& slot, std::type_identity_t<Fn> with) : slot_(slot), saved_(slot) { slot_ = with; }
  ~Replace() { slot_ = saved_; }
  Replace(const Replace&) = delete;
  Replace& operator=(const Replace&) = delete;

 private:
  Fn& slot_;
  Fn saved_;
};

}  // namespace platform
