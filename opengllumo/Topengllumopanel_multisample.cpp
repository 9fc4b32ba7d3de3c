// The multisample query: a hidden probe window with an ordinary format and a
// temporary context gives access to wglChoosePixelFormatARB.
#include <cstring>

#include "Topengllumopanel.h"
#include "platform/PlatformOps.h"

using platform::sys;

namespace {

const char kProbeClassName[] = "MultiSampleOpenGLClass";

// WGL_ARB_pixel_format and WGL_ARB_multisample keys and values.
const int kMultiSampleAttributes[22] = {
    0x2001, 1,       // WGL_DRAW_TO_WINDOW_ARB
    0x2010, 1,       // WGL_SUPPORT_OPENGL_ARB
    0x2003, 0x2027,  // WGL_ACCELERATION_ARB: WGL_FULL_ACCELERATION_ARB
    0x2014, 24,      // WGL_COLOR_BITS_ARB
    0x201B, 8,       // WGL_ALPHA_BITS_ARB
    0x2022, 16,      // WGL_DEPTH_BITS_ARB
    0x2023, 0,       // WGL_STENCIL_BITS_ARB
    0x2011, 1,       // WGL_DOUBLE_BUFFER_ARB
    0x2041, 1,       // WGL_SAMPLE_BUFFERS_ARB
    0x2042, 4,       // WGL_SAMPLES_ARB
    0, 0};
const int kSamplesValue = 19;

typedef BOOL(WINAPI* ChoosePixelFormatARB)(HDC, const int*, const FLOAT*, UINT, int*, UINT*);

LRESULT CALLBACK MultiSampleWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return sys.DefWindowProcA(Wnd, Msg, WParam, LParam);
}

// A class of that name and instance value that is already registered is the
// same class, so a refusal for that reason is no failure: the panel's window
// made again, or another panel, may meet a handle value seen before.
// NOTE: a class left behind by an earlier load of this module (a package
// unloaded and loaded again elsewhere) points at a window procedure that is
// gone; calling it would crash, so such a class is registered anew.
bool RegisterProbeClass(HWND Panel) {
  WNDCLASSEXA probeClass = {};
  probeClass.cbSize = sizeof probeClass;
  probeClass.style = CS_OWNDC;
  probeClass.lpfnWndProc = &MultiSampleWndProc;
  probeClass.hInstance = reinterpret_cast<HINSTANCE>(Panel);
  probeClass.hCursor = sys.LoadCursorA(nullptr, IDC_ARROW);
  probeClass.lpszClassName = kProbeClassName;
  if (sys.RegisterClassExA(&probeClass)) return true;
  if (sys.GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (sys.GetClassInfoExA(probeClass.hInstance, kProbeClassName, &existing) &&
      existing.lpfnWndProc == &MultiSampleWndProc)
    return true;
  sys.UnregisterClassA(kProbeClassName, probeClass.hInstance);
  return sys.RegisterClassExA(&probeClass) != 0;
}

// The probe window with its device context and temporary context; whatever
// of them exists goes when the probe does, in the reverse order.
class Probe {
 public:
  explicit Probe(HWND Panel)
      : Wnd(sys.CreateWindowExA(0, kProbeClassName, "",
                                WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 1, 1, Panel,
                                nullptr, nullptr, nullptr)) {}
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  ~Probe() {
    if (MadeCurrent) sys.wglMakeCurrent(nullptr, nullptr);
    if (RC) sys.wglDeleteContext(RC);
    if (DC) sys.ReleaseDC(Wnd, DC);
    if (Wnd) sys.DestroyWindow(Wnd);
  }

  // Gives the probe an ordinary format and makes a temporary context current.
  bool MakeContextCurrent(const PIXELFORMATDESCRIPTOR& Request) {
    DC = sys.GetDC(Wnd);
    int format = sys.ChoosePixelFormat(DC, &Request);
    if (format == 0 || sys.SetPixelFormat(DC, format, &Request) != TRUE) return false;
    RC = sys.wglCreateContext(DC);
    if (!RC) return false;
    MadeCurrent = true;
    return sys.wglMakeCurrent(DC, RC) != FALSE;
  }

  HWND Wnd;
  HDC DC = nullptr;
  HGLRC RC = nullptr;
  bool MadeCurrent = false;
};

// 4 samples, else 2; -1 when neither is found.
int QuerySamples(ChoosePixelFormatARB Choose, HDC DC) {
  int attributes[22];
  std::memcpy(attributes, kMultiSampleAttributes, sizeof attributes);
  const FLOAT floatAttributes[2] = {0.0f, 0.0f};
  for (int samples : {4, 2}) {
    attributes[kSamplesValue] = samples;
    int format = -1;
    UINT found = 0;
    if (Choose(DC, attributes, floatAttributes, 1, &format, &found) && found >= 1) return format;
  }
  return -1;
}

}  // namespace

int TOpenGLLumoPanel::ChooseMultiSampleFormat() {
  PIXELFORMATDESCRIPTOR request = PixelFormatRequest();
  try {
    if (!RegisterProbeClass(FHandle)) {
      ReportSystemError("RegisterClass:", false);
      return -1;
    }
    Probe probe(FHandle);
    if (!probe.Wnd) {
      ReportSystemError("MultiSample: ", false);
      return -1;
    }
    if (!probe.MakeContextCurrent(request)) return -1;
    auto choose = reinterpret_cast<ChoosePixelFormatARB>(
        reinterpret_cast<void*>(sys.wglGetProcAddress("wglChoosePixelFormatARB")));
    if (!choose) return -1;
    return QuerySamples(choose, probe.DC);
  } catch (...) {
    return -1;
  }
}
