// glinfo: what this machine's OpenGL offers and what a panel gets from it,
// for when a panel does not look as expected.
//
//   glinfo.exe [--multisample]
#include <windows.h>
#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "opengllumo/Topengllumopanel.h"
#include "vcl/Forms.h"

namespace {

typedef const char*(WINAPI* GetExtensionsStringARB)(HDC);
typedef BOOL(WINAPI* GetPixelFormatAttribivARB)(HDC, int, int, UINT, const int*, int*);
const int WGL_SAMPLES_ARB = 0x2042;

int Samples(HDC dc, int format) {
  auto attribiv = reinterpret_cast<GetPixelFormatAttribivARB>(
      reinterpret_cast<void*>(wglGetProcAddress("wglGetPixelFormatAttribivARB")));
  int key = WGL_SAMPLES_ARB, value = 0;
  if (!attribiv || !attribiv(dc, format, 0, 1, &key, &value)) return 0;
  return value;
}

bool HasExtension(const char* list, const char* name) {
  if (!list) return false;
  size_t n = std::strlen(name);
  for (const char* p = std::strstr(list, name); p; p = std::strstr(p + n, name))
    if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
  return false;
}

// What the driver offers, seen from inside the panel's context.
void PrintDriver(HDC dc) {
  std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  std::printf("version: %s\n", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
  std::printf("pixel formats: %d\n", DescribePixelFormat(dc, 1, 0, nullptr));
  auto extensions = reinterpret_cast<GetExtensionsStringARB>(
      reinterpret_cast<void*>(wglGetProcAddress("wglGetExtensionsStringARB")));
  const char* wgl = extensions ? extensions(dc) : nullptr;
  for (const char* name : {"WGL_ARB_pixel_format", "WGL_ARB_multisample"})
    std::printf("%s: %s\n", name, HasExtension(wgl, name) ? "yes" : "no");
}

// What the panel got: the format set on its window and its last report.
void PrintPanel(TOpenGLLumoPanel& panel, HDC dc) {
  int format = GetPixelFormat(dc);
  PIXELFORMATDESCRIPTOR pfd = {};
  DescribePixelFormat(dc, format, sizeof pfd, &pfd);
  std::printf("panel: format %d, %d colour bits, %d depth bits, %d samples, %s, multisample %s\n",
              format, pfd.cColorBits, pfd.cDepthBits, Samples(dc, format),
              pfd.dwFlags & PFD_DOUBLEBUFFER ? "double-buffered" : "single-buffered",
              panel.MultiSample() ? "on" : "off");
  std::printf("last error: %s\n", panel.LastError().empty() ? "none" : panel.LastError().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  bool multisample = argc > 1 && std::strcmp(argv[1], "--multisample") == 0;
  TApplication app(nullptr);
  TForm* form = new TForm(&app);
  auto* panel = new TOpenGLLumoPanel(form);
  panel->SetBounds(0, 0, 64, 64);
  panel->SetMultiSample(multisample);
  panel->SetParent(form);
  form->Show();
  app.ProcessMessages();
  if (!panel->MakeCurrent() || !wglGetCurrentContext()) {
    std::printf("the panel has no context: %s\n", panel->LastError().c_str());
    return 1;
  }
  HDC dc = wglGetCurrentDC();
  PrintDriver(dc);
  PrintPanel(*panel, dc);
  return 0;
}
