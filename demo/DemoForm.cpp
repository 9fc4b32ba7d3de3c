#include "DemoForm.h"

#include <GL/glext.h>

#include "Picture.h"
#include "vcl/FormStreaming.h"
#include "Scene.h"

LUMO_IMPLEMENT_COMPONENT(TDemoForm, TForm)

namespace {
// The reader finds the form's components and handlers by these names.
const bool published = RegisterFormClass(
    TDemoForm::StaticClass(), {LUMO_FORM_FIELD(TDemoForm, Panel)},
    {LUMO_FORM_METHOD(TDemoForm, PanelInit), LUMO_FORM_METHOD(TDemoForm, PanelResize),
     LUMO_FORM_METHOD(TDemoForm, PanelPaint), LUMO_FORM_METHOD(TDemoForm, PanelMouseDown),
     LUMO_FORM_METHOD(TDemoForm, PanelMouseMove)});
}  // namespace

// The form is read from DemoForm.dfm, which the program carries as a resource.
TDemoForm::TDemoForm(TComponent* AOwner) : TForm(AOwner), Panel(nullptr) {
  if (!published || !InitInheritedComponent(this))
    throw EResNotFound("Resource TDemoForm not found");
  QueryPerformanceFrequency(&FFrequency);
}

void TDemoForm::PanelInit(TObject*) {
  scene::SetUpState();
  MeasurePixelFormat();
  MeasureSpace();
}

void TDemoForm::MeasureSpace() {
  HDC dc = wglGetCurrentDC();
  HGDIOBJ old = SelectObject(dc, Panel->Font2D_Type()->Handle());
  INT width = 0;
  if (GetCharWidth32A(dc, ' ', ' ', &width)) FSpaceWidth = width;
  SelectObject(dc, old);
}

void TDemoForm::MeasurePixelFormat() {
  HDC dc = wglGetCurrentDC();
  PIXELFORMATDESCRIPTOR pfd = {};
  FReport.pixelFormat = GetPixelFormat(dc);
  DescribePixelFormat(dc, FReport.pixelFormat, sizeof pfd, &pfd);
  FReport.colourBits = pfd.cColorBits;
  FReport.depthBits = pfd.cDepthBits;
  GLint buffers = 0, samples = 0;
  glGetIntegerv(GL_SAMPLE_BUFFERS, &buffers);
  if (buffers) glGetIntegerv(GL_SAMPLES, &samples);
  FReport.samples = samples;
}

// Unlike OnPaint, OnResize may come when another context, or none, is
// current: after the form's activation the palette handling leaves none.
void TDemoForm::PanelResize(TObject*) {
  if (!Panel->MakeCurrent()) return;
  scene::SetUpView(Panel->Width(), Panel->Height());
}

void TDemoForm::PanelPaint(TObject*) {
  if (FReport.frames == 0) QueryPerformanceCounter(&FFirstFrame);
  const double seconds = SecondsSinceFirstFrame();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.3f, -6.0f);
  scene::DrawSolid(FYaw + static_cast<float>(seconds * 50.0), FPitch);
  if (Panel->Font3D()) scene::DrawText3D(*Panel->Font3D(), "OpenGLLumo");
  if (Panel->Font2D()) {
    const std::string lines[] = {
        "Fps " + std::to_string(Panel->Fps()) + "  frame " + std::to_string(FReport.frames),
        Panel->LastError().empty() ? std::string("no error") : "error: " + Panel->LastError()};
    scene::DrawOverlay(*Panel->Font2D(), FSpaceWidth, Panel->Width(), Panel->Height(), lines, 2);
  }
  ++FReport.frames;
  FReport.seconds = seconds;
  FReport.lastFps = Panel->Fps();
  if (FLimit.Limited() && LimitReached()) FinishRun();
}

double TDemoForm::SecondsSinceFirstFrame() const {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - FFirstFrame.QuadPart) / FFrequency.QuadPart;
}

bool TDemoForm::LimitReached() const {
  if (FLimit.frames > 0 && FReport.frames >= FLimit.frames) return true;
  return FLimit.seconds > 0 && FReport.seconds >= FLimit.seconds;
}

// Keeps this frame, still in the back buffer before the panel swaps it, and
// ends the run.
void TDemoForm::FinishRun() {
  if (!FLimit.picture.empty() && !FReport.pictureTaken) {
    glFinish();
    FReport.pictureError = WriteBackBufferPng(Panel->Width(), Panel->Height(), FLimit.picture);
    FReport.pictureTaken = true;
  }
  Application->Terminate();
}

void TDemoForm::PanelMouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
  FMouseX = X;
  FMouseY = Y;
}

void TDemoForm::PanelMouseMove(TObject*, TShiftState Shift, int X, int Y) {
  if (!Shift.Contains(ssLeft)) return;
  FYaw += (X - FMouseX) * 0.5f;
  FPitch += (Y - FMouseY) * 0.5f;
  FMouseX = X;
  FMouseY = Y;
}

void TDemoForm::ApplicationIdle(TObject*, bool& Done) {
  Panel->Invalidate();
  Done = false;
}
