// The designer host: loads a package, calls its registration once, prints
// the palette, and with --place puts each registered class on a new form at
// design time and, given a file name (- for the console), writes that form
// to a form file.
//
//   designer.exe PACKAGE [--place [FORMFILE]]
#include <cstdio>
#include <cstring>
#include <memory>

#include <fstream>

#include "vcl/FormStreaming.h"
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
bool WriteForm(TForm* form, const char* fileName) {
  std::string text = WriteComponentText(form);
  if (std::strcmp(fileName, "-") == 0) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return true;
  }
  std::ofstream out(fileName, std::ios::binary);
  out << text;
  out.close();
  if (!out) {
    std::fprintf(stderr, "designer: cannot write the form file %s\n", fileName);
    return false;
  }
  std::printf("wrote %s\n", fileName);
  return true;
}

std::unique_ptr<TForm> PlaceOnForm() {
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
  return form;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4 || (argc >= 3 && std::strcmp(argv[2], "--place") != 0)) {
    std::fprintf(stderr, "usage: designer PACKAGE [--place [FORMFILE]]\n");
    return 2;
  }
  bool ok = true;
  try {
    HMODULE package = LoadPackage(argv[1]);
    std::printf("loaded %s: %s\n", argv[1], GetPackageDescription(argv[1]).c_str());
    RegisterPackageComponents(package);
    PrintPalette();
    if (argc >= 3) {
      std::unique_ptr<TForm> form = PlaceOnForm();
      if (argc == 4) ok = WriteForm(form.get(), argv[3]);
    }  // the form and its panels go while their package is loaded
    UnloadPackage(package);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "designer: %s\n", e.what());
    return 1;
  }
  return ok ? 0 : 1;
}
