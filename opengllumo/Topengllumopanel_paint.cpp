// The paint cycle and the frame rate.
#include "Topengllumopanel.h"

void TOpenGLLumoPanel::Paint() { inherited::Paint(); }
