// The window-style properties: ToolWindow, Border and AllowResize act on the
// live window once its creation has begun.
#include "Topengllumopanel.h"
#include "platform/PlatformOps.h"

using platform::sys;

namespace {

void ChangeStyle(HWND wnd, int index, LONG bits, bool on) {
  LONG word = sys.GetWindowLongA(wnd, index);
  word = on ? (word | bits) : (word & ~bits);
  sys.SetWindowLongA(wnd, index, word);
}

}  // namespace

// Before the window is first created, and from OnPreInit (the window does not
// exist yet, and asking for it would start a second creation inside the
// first), the value is only stored: WMCreate applies it.
bool TOpenGLLumoPanel::StylesApplyToWindow() const {
  return FWindowCreated && !(CreatingWindow() && !HandleAllocated());
}

// Two changes of width make the system redraw the frame with the new styles.
void TOpenGLLumoPanel::NudgeWidth() {
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
}

void TOpenGLLumoPanel::SetToolWindow(bool Value) {
  FToolWindow = Value;
  if (!StylesApplyToWindow()) return;
  ChangeStyle(Handle(), GWL_STYLE, WS_CAPTION, Value);
  ChangeStyle(Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW, Value);
  NudgeWidth();
}

void TOpenGLLumoPanel::SetBorder(bool Value) {
  FBorder = Value;
  if (!StylesApplyToWindow()) return;
  ChangeStyle(Handle(), GWL_EXSTYLE, WS_EX_CLIENTEDGE, Value);
  NudgeWidth();
}

void TOpenGLLumoPanel::SetAllowResize(bool Value) {
  FAllowResize = Value;
  if (!StylesApplyToWindow()) return;
  ChangeStyle(Handle(), GWL_STYLE, WS_THICKFRAME, Value);
  NudgeWidth();
}
