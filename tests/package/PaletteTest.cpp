// Registration on the palette, and panels created through the registered
// class, with the package loaded as the designer loads it.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "support/Pump.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Packages.h"

namespace {

const TPalettePage* FindPage(const AnsiString& name) {
  for (const TPalettePage& page : Palette())
    if (page.Name == name) return &page;
  return nullptr;
}

struct LoadedPackage : ::testing::Test {
  void SetUp() override {
    module = LoadPackage("OpenGLLumo.bpl");
    RegisterPackageComponents(module);
  }
  void TearDown() override { UnloadPackage(module); }
  HMODULE module = nullptr;
};

TEST_F(LoadedPackage, PageVarnelOffersThePanel) {
  const TPalettePage* page = FindPage("Varnel");
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->Classes.size(), 1u);
  EXPECT_STREQ(page->Classes[0]->Name, "TOpenGLLumoPanel");
  EXPECT_EQ(GetClass("TOpenGLLumoPanel"), page->Classes[0]);
  // One class hierarchy: the package's class derives from the host's panel.
  EXPECT_TRUE(page->Classes[0]->InheritsFrom(TCustomPanel::StaticClass()));

  // Registering again adds nothing.
  RegisterPackageComponents(module);
  EXPECT_EQ(FindPage("Varnel")->Classes.size(), 1u);
}

TEST_F(LoadedPackage, ClassFoundByNameCreatesAWorkingPanel) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetClientSize(200, 150);
  TComponent* component = CreateComponent(FindClass("TOpenGLLumoPanel"), form.get());
  auto* panel = dynamic_cast<TWinControl*>(component);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->ClassName(), "TOpenGLLumoPanel");
  panel->SetParent(form.get());
  form->Show();
  PumpMessages();

  // The panel's window got an OpenGL pixel format and a current context.
  HDC dc = GetDC(panel->Handle());
  int format = GetPixelFormat(dc);
  ASSERT_GT(format, 0);
  PIXELFORMATDESCRIPTOR pfd = {};
  DescribePixelFormat(dc, format, sizeof pfd, &pfd);
  EXPECT_TRUE(pfd.dwFlags & PFD_SUPPORT_OPENGL);
  EXPECT_TRUE(pfd.dwFlags & PFD_DOUBLEBUFFER);
  EXPECT_NE(wglGetCurrentContext(), nullptr);
  ReleaseDC(panel->Handle(), dc);
  form.reset();
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST(Palette, UnloadingThePackageTakesItsClassesAway) {
  HMODULE module = LoadPackage("OpenGLLumo.bpl");
  RegisterPackageComponents(module);
  ASSERT_NE(FindPage("Varnel"), nullptr);
  UnloadPackage(module);
  EXPECT_EQ(FindPage("Varnel"), nullptr);
  EXPECT_EQ(GetClass("TOpenGLLumoPanel"), nullptr);
}

TEST(Palette, PagesAndClassesKeepRegistrationOrder) {
  TComponentClass first[] = {&TCustomPanel::StaticClass(), &TForm::StaticClass()};
  TComponentClass second[] = {&TComponent::StaticClass()};
  RegisterComponents("Order A", first, 1);
  RegisterComponents("Order B", second, 0);
  RegisterComponents("Order A", second, 0);
  const TPalettePage* a = FindPage("Order A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Classes, (std::vector<TComponentClass>{first[0], first[1], second[0]}));
  EXPECT_LT(a, FindPage("Order B"));
}

TEST(Palette, BadRegistrationsAreRefusedWhole) {
  TComponentClass withNull[] = {&TCustomPanel::StaticClass(), nullptr};
  TComponentClass notComponent[] = {&TFont::StaticClass()};
  const size_t pages = Palette().size();
  EXPECT_THROW(RegisterComponents("Bad", withNull, 1), EComponentError);
  EXPECT_THROW(RegisterComponents("Bad", notComponent, 0), EComponentError);
  EXPECT_THROW(RegisterComponents("", withNull, 0), EComponentError);
  EXPECT_EQ(Palette().size(), pages);
  try {
    RegisterComponents("Bad", notComponent, 0);
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "RegisterComponents: TFont for page Bad is not a component class");
  }
}

}  // namespace
