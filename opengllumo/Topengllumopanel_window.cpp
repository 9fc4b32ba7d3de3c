// The panel in its window: creation parameters and message dispatch.
#include "Topengllumopanel.h"

void TOpenGLLumoPanel::CreateParams(TCreateParams& Params) { inherited::CreateParams(Params); }

void TOpenGLLumoPanel::Dispatch(void* Message) { inherited::Dispatch(Message); }

void TOpenGLLumoPanel::Resize() { inherited::Resize(); }
