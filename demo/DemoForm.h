// The demo's form: one OpenGL panel filling the client area.
#pragma once

#include <string>

#include "opengllumo/Topengllumopanel.h"
#include "vcl/Forms.h"

// How long a run lasts: until the window is closed, or a number of frames or
// seconds, after which the last frame is kept as a picture.
struct RunLimit {
  int frames = 0;
  double seconds = 0;
  std::string picture;
  bool Limited() const { return frames > 0 || seconds > 0; }
};

// What a run measured.
struct RunReport {
  int frames = 0;
  double seconds = 0;
  int lastFps = 0;
  int pixelFormat = 0, colourBits = 0, depthBits = 0, samples = 0;
  std::string pictureError;  // empty when the picture was written
  bool pictureTaken = false;
};

class TDemoForm : public TForm {
  LUMO_DECLARE_CLASS(TDemoForm, TForm)
 public:
  explicit TDemoForm(TComponent* AOwner);

  TOpenGLLumoPanel* Panel;

  void SetLimit(const RunLimit& Limit) { FLimit = Limit; }
  const RunReport& Report() const { return FReport; }

  void PanelInit(TObject* Sender);
  void PanelResize(TObject* Sender);
  void PanelPaint(TObject* Sender);
  void PanelMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void PanelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  // Idle time draws the next frame.
  void ApplicationIdle(TObject* Sender, bool& Done);

 private:
  double SecondsSinceFirstFrame() const;
  bool LimitReached() const;
  void MeasurePixelFormat();
  void MeasureSpace();
  void FinishRun();

  RunLimit FLimit;
  RunReport FReport;
  LARGE_INTEGER FFirstFrame = {};
  LARGE_INTEGER FFrequency = {};
  float FYaw = 0, FPitch = 20;
  int FMouseX = 0, FMouseY = 0;
  int FSpaceWidth = 5;
};
