// The component unit's registration procedure and its nesting counter.
#include "Topengllumopanel.h"
#include "vcl/Packages.h"

namespace {

int InitCount = 0;

}  // namespace

// The unit has no work of its own; the counter only nests loads.
extern "C" void TopengllumopanelInitialization() { ++InitCount; }
extern "C" void TopengllumopanelFinalization() { --InitCount; }

void Topengllumopanel::Register() {
  TComponentClass classes[1] = {&TOpenGLLumoPanel::StaticClass()};
  RegisterComponents("Varnel", classes, 0);
}
