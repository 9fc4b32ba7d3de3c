// Components written to form files and read back: form classes that publish
// their fields and handlers, the loading state, and where form files come from.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "vcl/FormStreaming.h"
#include "vcl/Forms.h"

namespace {

// A component that remembers what reading did to it.
class TProbe : public TComponent {
  LUMO_DECLARE_CLASS(TProbe, TComponent)
 public:
  explicit TProbe(TComponent* AOwner) : TComponent(AOwner) {}

  int Value() const { return FValue; }
  void SetValue(int v) {
    FValue = v;
    LoadingWhenSet = ComponentState().Contains(csLoading);
  }
  LUMO_FIELD_PROPERTY(TProbe*, Buddy)
  LUMO_FIELD_PROPERTY(TNotifyEvent, OnChange)

  void Loaded() override {
    inherited::Loaded();
    LoadedCalls++;
  }

  bool LoadingWhenSet = false;
  int LoadedCalls = 0;

 private:
  int FValue = 0;
  TProbe* FBuddy = nullptr;
  TNotifyEvent FOnChange;
};
LUMO_IMPLEMENT_COMPONENT(TProbe, TComponent)
const TTypeInfo TypeInfo_TProbe = {.Kind = tkClass, .Name = "TProbe", .ClassType = &TProbe::StaticClass};
const bool ProbePublished = RegisterPublishedProperties(
    TProbe::StaticClass(), {LUMO_PUBLISHED(TProbe, Value, TypeInfo_int, 0),
                            LUMO_PUBLISHED(TProbe, Buddy, TypeInfo_TProbe),
                            LUMO_PUBLISHED(TProbe, OnChange, TypeInfo_TNotifyEvent)});

// A form class as an application writes one.
class TProbeForm : public TForm {
  LUMO_DECLARE_CLASS(TProbeForm, TForm)
 public:
  explicit TProbeForm(TComponent* AOwner) : TForm(AOwner) {}
  TProbe* Probe1 = nullptr;
  TProbe* Probe2 = nullptr;
  void ProbeChange(TObject*) { ++Changes; }
  int Changes = 0;
};
LUMO_IMPLEMENT_COMPONENT(TProbeForm, TForm)
const bool ProbeFormPublished = RegisterFormClass(
    TProbeForm::StaticClass(), {LUMO_FORM_FIELD(TProbeForm, Probe1), LUMO_FORM_FIELD(TProbeForm, Probe2)},
    {LUMO_FORM_METHOD(TProbeForm, ProbeChange)});

const char ProbeFormText[] =
    "object ProbeForm: TProbeForm\r\n"
    "  Left = 10\r\n"
    "  Top = 20\r\n"
    "  Width = 300\r\n"
    "  Height = 200\r\n"
    "  Caption = 'Probes'\r\n"
    "  Font.Charset = DEFAULT_CHARSET\r\n"
    "  Font.Color = clWindowText\r\n"
    "  Font.Height = -11\r\n"
    "  Font.Name = 'Tahoma'\r\n"
    "  Font.Style = []\r\n"
    "  TextHeight = 14\r\n"
    "  object Probe1: TProbe\r\n"
    "    Value = 7\r\n"
    "    Buddy = Probe2\r\n"
    "    OnChange = ProbeChange\r\n"
    "  end\r\n"
    "  object Probe2: TProbe\r\n"
    "  end\r\n"
    "end\r\n";

struct RegisterProbe {
  RegisterProbe() { RegisterClass(TProbe::StaticClass()); }
} registerProbe;

}  // namespace

TEST(FormStreaming, ReadingBindsFieldsEventsAndReferencesThenCallsLoaded) {
  TProbeForm form(nullptr);
  ReadComponentData(ProbeFormText, &form);
  ASSERT_NE(form.Probe1, nullptr);
  ASSERT_NE(form.Probe2, nullptr);
  EXPECT_EQ(form.Probe1->Owner(), &form);
  EXPECT_EQ(form.Probe1->Value(), 7);
  EXPECT_EQ(form.Probe1->Buddy(), form.Probe2);  // named before it was read
  EXPECT_TRUE(form.Probe1->LoadingWhenSet);
  for (TProbe* p : {form.Probe1, form.Probe2}) {
    EXPECT_EQ(p->LoadedCalls, 1);
    EXPECT_FALSE(p->ComponentState().Contains(csLoading));
  }
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  form.Probe1->OnChange()(form.Probe1);
  EXPECT_EQ(form.Changes, 1);
  EXPECT_EQ(form.Caption(), "Probes");
  EXPECT_EQ(form.Left(), 10);
  EXPECT_EQ(form.Font()->Name(), "Tahoma");
  EXPECT_EQ(form.TextHeight(), 14);
}

TEST(FormStreaming, WritingGivesBackTheFormFileInBothForms) {
  TProbeForm form(nullptr);
  ReadComponentData(ProbeFormText, &form);
  form.SetName("ProbeForm");
  EXPECT_EQ(WriteComponentText(&form), ProbeFormText);
  EXPECT_EQ(WriteComponentBinary(&form), ObjectTextToBinary(ProbeFormText));
}

TEST(FormStreaming, ReadingCreatesTheRootByClassName) {
  TComponent* root = ReadComponent(ObjectTextToBinary(ProbeFormText), nullptr);
  TProbeForm* form = dynamic_cast<TProbeForm*>(root);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), "ProbeForm");
  EXPECT_EQ(form->Probe1->Value(), 7);
  delete root;
}

TEST(FormStreaming, FailedReadFreesWhatItMadeAndClearsTheFields) {
  TProbeForm form(nullptr);
  std::string text = ProbeFormText;
  text.replace(text.find("  object Probe2: TProbe\r\n  end\r\n"), 0,
               "  object Probe3: TProbe\r\n    Value = 'x'\r\n  end\r\n");
  try {
    ReadComponentData(text, &form);
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Error reading Probe3.Value: Invalid property value on line 19");
  }
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.Probe1, nullptr);
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
}

// Its constructor reads the form file stored in the program under its class name.
class TResForm : public TForm {
  LUMO_DECLARE_CLASS(TResForm, TForm)
 public:
  explicit TResForm(TComponent* AOwner) : TForm(AOwner) { Found = InitInheritedComponent(this); }
  TProbe* Probe1 = nullptr;
  bool Found = false;
  void ProbeChange(TObject*) {}
};
LUMO_IMPLEMENT_COMPONENT(TResForm, TForm)
const bool ResFormPublished = RegisterFormClass(TResForm::StaticClass(), {LUMO_FORM_FIELD(TResForm, Probe1)},
                                                {LUMO_FORM_METHOD(TResForm, ProbeChange)});

TEST(FormStreaming, FormClassReadsItsResourceAndFilesOnDisk) {
  TResForm fromResource(nullptr);
  ASSERT_TRUE(fromResource.Found);
  EXPECT_EQ(fromResource.Caption(), "From a resource");
  ASSERT_NE(fromResource.Probe1, nullptr);
  EXPECT_EQ(fromResource.Probe1->Value(), -300);
  EXPECT_TRUE(fromResource.Probe1->OnChange().Assigned());

  // The same form from disk, in the text form.
  const char* name = "probe-form.dfm";
  std::string text = WriteComponentText(&fromResource);
  std::ofstream(name, std::ios::binary) << text;
  TProbeForm fromFile(nullptr);
  ReadComponentResFile(name, &fromFile);
  std::remove(name);
  EXPECT_EQ(fromFile.Caption(), "From a resource");
  EXPECT_EQ(fromFile.Probe1->Value(), -300);

  TProbeForm none(nullptr);
  EXPECT_FALSE(InitInheritedComponent(&none));
  EXPECT_THROW(ReadComponentResFile("no-such.dfm", &none), EReadError);
}
