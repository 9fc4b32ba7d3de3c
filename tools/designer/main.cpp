// The designer host: loads a package, calls its registration once, prints
// the palette, and with --place puts each registered class on a new form at
// design time.
//
//   designer.exe PACKAGE [--place]
#include <cstdio>
#include <cstring>
#include <memory>

#include "vcl/Forms.h"
#include "vcl/Packages.h"

namespace {

void PrintPalette() {
  for (const TPalettePage& page : Palette()) {
    std::printf("page %s:", page.Name.c_str());
    for (TComponentClass c : page.Classes) std::printf(" %s", c->Name);
    std::printf("\n");
  }
}

// Creates each registered class on a design-time form, as dropping it from
// the palette does.
void PlaceOnForm() {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetName("Form1");
  form->SetDesigning(true);
  for (const TPalettePage& page : Palette()) {
    for (TComponentClass c : page.Classes) {
      TComponent* component = CreateComponent(*c, form.get());
      component->SetName(AnsiString(c->Name).substr(1) + "1");
      component->SetDesigning(true);
      if (auto* control = dynamic_cast<TControl*>(component)) control->SetParent(form.get());
      std::printf("placed %s (%s) at design time\n", component->Name().c_str(), c->Name);
    }
  }
  form->Show();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (argc == 3 && std::strcmp(argv[2], "--place") != 0) || argc > 3) {
    std::fprintf(stderr, "usage: designer PACKAGE [--place]\n");
    return 2;
  }
  try {
    HMODULE package = LoadPackage(argv[1]);
    std::printf("loaded %s: %s\n", argv[1], GetPackageDescription(argv[1]).c_str());
    RegisterPackageComponents(package);
    PrintPalette();
    if (argc == 3) PlaceOnForm();
    UnloadPackage(package);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "designer: %s\n", e.what());
    return 1;
  }
  return 0;
}
