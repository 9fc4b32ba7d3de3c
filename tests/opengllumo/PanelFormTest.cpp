// The panel in form files: its published table, what a form file holds of a
// new panel, round trips, the flag-set rule while reading, and bad input.
#include <gtest/gtest.h>

#include "PanelProbe.h"
#include "support/DesignerForm.h"
#include "vcl/FormStreaming.h"
#include "vcl/Forms.h"

namespace {

class TPanelForm : public TForm {
  LUMO_DECLARE_CLASS(TPanelForm, TForm)
 public:
  explicit TPanelForm(TComponent* AOwner) : TForm(AOwner) {}
  TOpenGLLumoPanel* OpenGLLumoPanel1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  void PanelPaint(TObject*) {}
  void PanelInit(TObject*) {}
  void PanelMouseDown(TObject*, TMouseButton, TShiftState, int, int) {}
};
LUMO_IMPLEMENT_COMPONENT(TPanelForm, TForm)
const bool PanelFormPublished = RegisterFormClass(
    TPanelForm::StaticClass(),
    {LUMO_FORM_FIELD(TPanelForm, OpenGLLumoPanel1), LUMO_FORM_FIELD(TPanelForm, PopupMenu1)},
    {LUMO_FORM_METHOD(TPanelForm, PanelPaint), LUMO_FORM_METHOD(TPanelForm, PanelInit),
     LUMO_FORM_METHOD(TPanelForm, PanelMouseDown)});

struct RegisterClasses {
  RegisterClasses() {
    RegisterClass(TOpenGLLumoPanel::StaticClass());
    RegisterClass(TPopupMenu::StaticClass());
  }
} registerClasses;

std::string PanelFormText(const std::string& panelProperties) {
  return "object PanelForm: TPanelForm\r\n"
         "  object OpenGLLumoPanel1: TOpenGLLumoPanel\r\n" +
         panelProperties +
         "  end\r\n"
         "end\r\n";
}

// Every published value of a and b agrees; events name the same method of
// their own roots; component references name the same component.
void ExpectSamePublished(TObject* a, TObject* b, TComponent* rootA, TComponent* rootB,
                         const std::string& prefix = "") {
  for (const TPropInfo* p : GetPropList(a->ClassType())) {
    if (!p->Stored) continue;
    SCOPED_TRACE(prefix + p->Name);
    TPropValue va, vb;
    p->Get(a, va);
    p->Get(b, vb);
    switch (p->PropType->Kind) {
      case tkClass:
        if (auto* ca = dynamic_cast<TComponent*>(va.Object)) {
          auto* cb = dynamic_cast<TComponent*>(vb.Object);
          ASSERT_NE(cb, nullptr);
          EXPECT_EQ(ca->Name(), cb->Name());
        } else if (va.Object) {
          ExpectSamePublished(va.Object, vb.Object, rootA, rootB, prefix + p->Name + ".");
        }
        break;
      case tkMethod:
        EXPECT_EQ(va.Method.Code, vb.Method.Code);
        EXPECT_EQ(va.Method.Data == rootA, vb.Method.Data == rootB);
        break;
      default:
        EXPECT_EQ(va.Ord, vb.Ord);
        EXPECT_EQ(va.Float, vb.Float);
        EXPECT_EQ(va.Str, vb.Str);
    }
  }
}

void SetEveryPropertyAwayFromItsDefault(TOpenGLLumoPanel* p, TPanelForm* form) {
  p->SetBounds(5, 6, 320, 240);
  p->SetCaption("GL");
  p->SetAlignment(taLeftJustify);
  p->SetAlign(alClient);
  p->SetDragCursor(-21);
  p->SetDragMode(dmAutomatic);
  p->SetEnabled(false);
  p->SetParentFont(false);
  p->SetParentShowHint(false);
  p->SetPopupMenu(form->PopupMenu1);
  p->SetShowHint(true);
  p->SetTabOrder(3);
  p->SetTabStop(true);
  p->SetVisible(false);
  p->SetPixelType(f_PFD_TYPE_COLORINDEX);
  p->SetPFDFlags({f_PFD_DRAW_TO_BITMAP, f_PFD_SUPPORT_GDI, f_PFD_STEREO, f_PFD_SWAP_LAYER_BUFFERS});
  p->SetcColorBits(24);
  p->SetcDepthBits(16);
  p->SetcAccBits(0);
  p->SetMultiSample(true);
  p->SetGLSwapBuffers(Manual);
  p->SetPixelsPerInch(120);
  p->SetPrintScale(pglNone);
  p->SetFont3D_Enabled(true);
  TFont font;
  font.SetName("Courier New");
  font.SetStyle({fsItalic, fsUnderline});
  font.SetHeight(-20);
  font.SetCharset(204);
  font.SetColor(clRed);
  font.SetPitch(fpFixed);
  p->SetFont3D_Type(&font);
  p->SetFont3D_FirstGylph(0);
  p->SetFont3D_NumGylph(256);
  p->SetFont3D_MaxDeviation(0.25f);
  p->SetFont3D_Extrustion(-2.5f);
  p->SetFont3D_Format(f_WGL_FONT_LINES);
  p->SetFont2D_Enabled(true);
  font.SetName("Times New Roman");
  font.SetColor(0x123456);
  font.SetCharset(1);
  p->SetFont2D_Type(&font);
  p->SetFont2D_FirstGylph(-1);
  p->SetFont2D_NumGylph(1);
  p->SetFps_Enabled(true);
  p->SetBorder(true);
  p->SetToolWindow(true);
  p->SetAllowResize(true);
  p->SetAllowMoving(true);
  p->SetOnPaint(Bind<&TPanelForm::PanelPaint>(form));
  p->SetOnInit(Bind<&TPanelForm::PanelInit>(form));
  p->SetOnError(Bind<&TPanelForm::PanelPaint>(form));
  p->SetOnClick(Bind<&TPanelForm::PanelInit>(form));
  p->SetOnMouseDown(Bind<&TPanelForm::PanelMouseDown>(form));
}

TPanelForm* NewPanelForm() {
  auto* form = new TPanelForm(nullptr);
  form->SetName("PanelForm");
  form->PopupMenu1 = new TPopupMenu(form);
  form->PopupMenu1->SetName("PopupMenu1");
  form->OpenGLLumoPanel1 = new TOpenGLLumoPanel(form);
  form->OpenGLLumoPanel1->SetName("OpenGLLumoPanel1");
  form->OpenGLLumoPanel1->SetParent(form);
  return form;
}

}  // namespace

TEST(PanelTypeInfo, PublishesTheTableInOrderWithItsTypes) {
  const char* const expected[] = {
      "Name", "Left", "Top", "Width", "Height",
      "Caption", "Alignment", "Align", "DragCursor", "DragMode", "Enabled", "ParentFont",
      "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible", "PixelType",
      "PFDFlags", "cColorBits", "cDepthBits", "cAccBits", "MultiSample", "GLSwapBuffers",
      "PixelsPerInch", "PrintScale", "Font3D_Enabled", "Font3D_Type", "Font3D_FirstGylph",
      "Font3D_NumGylph", "Font3D_MaxDeviation", "Font3D_Extrustion", "Font3D_Format",
      "Font2D_Enabled", "Font2D_Type", "Font2D_FirstGylph", "Font2D_NumGylph", "Fps_Enabled",
      "Border", "ToolWindow", "AllowResize", "AllowMoving", "OnClick", "OnDblClick", "OnDragDrop",
      "OnDragOver", "OnStartDrag", "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove",
      "OnMouseUp", "OnMouseWheel", "OnMouseWheelUp", "OnMouseWheelDown", "OnMouseActivate",
      "OnMouseEnter", "OnMouseLeave", "OnInit", "OnPreInit", "OnError", "OnResize", "OnPaint"};
  std::vector<const TPropInfo*> list = GetPropList(TOpenGLLumoPanel::StaticClass());
  ASSERT_EQ(list.size(), std::size(expected));
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_STREQ(list[i]->Name, expected[i]);

  const TMetaClass& panel = TOpenGLLumoPanel::StaticClass();
  const TTypeInfo& bits = *GetPropInfo(panel, "cColorBits")->PropType;
  EXPECT_EQ(bits.Kind, tkChar);
  EXPECT_STREQ(bits.Name, "unsigned char");
  EXPECT_EQ(bits.MinValue, 0);
  EXPECT_EQ(bits.MaxValue, 255);
  const TTypeInfo& flag = *GetPropInfo(panel, "Fps_Enabled")->PropType;
  EXPECT_STREQ(flag.Name, "bool");
  EXPECT_STREQ(GetEnumName(flag, 0), "false");
  EXPECT_STREQ(GetEnumName(flag, 1), "true");
  const TTypeInfo& flags = *GetPropInfo(panel, "PFDFlags")->PropType;
  EXPECT_EQ(flags.Kind, tkSet);
  EXPECT_STREQ(flags.Name, "Set");
  EXPECT_STREQ(GetEnumName(*flags.CompType, 10), "f_PFD_SWAP_LAYER_BUFFERS");
  EXPECT_EQ(GetPropInfo(panel, "PFDFlags")->Default, 0);
  EXPECT_EQ(GetPropInfo(panel, "Font3D_Extrustion")->PropType->FloatType, ftSingle);
  EXPECT_FALSE(GetPropInfo(panel, "Font3D_Extrustion")->Default);
  EXPECT_STREQ(GetPropInfo(panel, "TabOrder")->PropType->Name, "short");
  EXPECT_STREQ(GetPropInfo(panel, "PixelsPerInch")->PropType->Name, "int");
  EXPECT_EQ(GetPropInfo(panel, "Font2D_Type")->PropType->Kind, tkClass);
  EXPECT_EQ(GetPropInfo(panel, "OnResize")->PropType->Kind, tkMethod);
  EXPECT_EQ(GetPropInfo(panel, "PrintScale")->Default, pglProportional);
}

TEST(PanelForm, NewPanelStoresOnlyItsFlagsFontsAndFloats) {
  TOpenGLLumoPanel p(nullptr);
  p.SetName("OpenGLLumoPanel1");
  const std::string expected =
      "object OpenGLLumoPanel1: TOpenGLLumoPanel\r\n"
      "  Left = 0\r\n"
      "  Top = 0\r\n"
      "  Width = 185\r\n"
      "  Height = 41\r\n"
      "  PFDFlags = [f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_DOUBLEBUFFER]\r\n"
      "  Font3D_Type.Charset = ANSI_CHARSET\r\n"
      "  Font3D_Type.Color = clWindowText\r\n"
      "  Font3D_Type.Height = -9\r\n"
      "  Font3D_Type.Name = 'Arial'\r\n"
      "  Font3D_Type.Style = [fsBold]\r\n"
      "  Font3D_MaxDeviation = 1.000000000000000000\r\n"
      "  Font3D_Extrustion = 0.100000001490116100\r\n"
      "  Font2D_Type.Charset = ANSI_CHARSET\r\n"
      "  Font2D_Type.Color = clWindowText\r\n"
      "  Font2D_Type.Height = -9\r\n"
      "  Font2D_Type.Name = 'Arial'\r\n"
      "  Font2D_Type.Style = [fsBold]\r\n"
      "end\r\n";
  EXPECT_EQ(WriteComponentText(&p), expected);

  // Read back into a new panel, every value is the same.
  TComponent* read = ReadComponent(expected, nullptr);
  TOpenGLLumoPanel fresh(nullptr);
  ExpectSamePublished(&fresh, read, nullptr, nullptr);
  EXPECT_EQ(static_cast<TOpenGLLumoPanel*>(read)->Font3D_Extrustion(), 0.1f);
  delete read;
}

TEST(PanelForm, EveryPropertyAwayFromItsDefaultRoundTrips) {
  struct Form {
    const char* name;
    std::string (*write)(TComponent*);
  };
  for (const Form& f : {Form{"text", &WriteComponentText}, Form{"binary", &WriteComponentBinary}}) {
    SCOPED_TRACE(f.name);
    std::unique_ptr<TPanelForm> original(NewPanelForm());
    TOpenGLLumoPanel* p = original->OpenGLLumoPanel1;
    SetEveryPropertyAwayFromItsDefault(p, original.get());
    std::string file = f.write(original.get());

    std::unique_ptr<TPanelForm> read(new TPanelForm(nullptr));
    ReadComponentData(file, read.get());
    TOpenGLLumoPanel* q = read->OpenGLLumoPanel1;
    ASSERT_NE(q, nullptr);
    ExpectSamePublished(p, q, original.get(), read.get());
    EXPECT_EQ(q->Parent(), read.get());
    EXPECT_EQ(q->PopupMenu(), read->PopupMenu1);
    EXPECT_EQ(q->OnPaint().Data, read.get());
    EXPECT_EQ(q->Font3D_Type()->Name(), "Courier New");
    EXPECT_EQ(q->Font3D_Type()->Pitch(), fpFixed);
    EXPECT_EQ(q->Font3D_Extrustion(), -2.5f);
    EXPECT_EQ(static_cast<PanelProbe*>(q)->FPFDPixelType, 1);  // derived by the setter
    EXPECT_EQ(static_cast<PanelProbe*>(q)->FWglFontFormat, 0);
    EXPECT_EQ(WriteComponentText(read.get()), WriteComponentText(original.get()));
  }
}

TEST(PanelForm, FlagsAreWrittenInTheFileOrderUnderTheOneOfTwoRule) {
  const TPFDFlags win = f_PFD_DRAW_TO_WINDOW, gl = f_PFD_SUPPORT_OPENGL, gdi = f_PFD_SUPPORT_GDI,
                  dbl = f_PFD_DOUBLEBUFFER;
  struct Case {
    std::string lines;
    TPFDFlagSet expected;
  };
  const std::string both = "[f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_GDI, f_PFD_SUPPORT_OPENGL, f_PFD_DOUBLEBUFFER]";
  const Case cases[] = {
      {"    PFDFlags = " + both + "\r\n", {win, gdi, gl}},
      {"    PFDFlags = [f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL]\r\n", {win, gl, gdi}},
      {"    PFDFlags = []\r\n", {gdi}},
      {"    PFDFlags = [f_PFD_DOUBLEBUFFER]\r\n", {dbl}},
      // The second write sees the first's value: GDI is current, so the double buffer wins.
      {"    PFDFlags = [f_PFD_SUPPORT_GDI]\r\n    PFDFlags = " + both + "\r\n", {win, gl, dbl}},
      // Not stored at all: the constructor's flags stay.
      {"", {win, gl, dbl}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    TPanelForm form(nullptr);
    ReadComponentData(PanelFormText(c.lines), &form);
    EXPECT_TRUE(form.OpenGLLumoPanel1->PFDFlags() == c.expected) << form.OpenGLLumoPanel1->PFDFlags().Bits();
  }
}

TEST(PanelForm, BadInputGivesReadErrorAndLeavesNothingBehind) {
  struct Case {
    std::string input;
    const char* message;
  };
  const std::string panel = "  object OpenGLLumoPanel1: TOpenGLLumoPanel\r\n";
  const Case cases[] = {
      {PanelFormText("    cColorBits = 32\r\n"),
       "Error reading OpenGLLumoPanel1.cColorBits: Invalid property value on line 3"},
      {PanelFormText("    cColorBits = 'AB'\r\n"),
       "Error reading OpenGLLumoPanel1.cColorBits: Invalid property value on line 3"},
      {PanelFormText("    cColorBits = #256\r\n"),
       "Error reading OpenGLLumoPanel1.cColorBits: Invalid property value on line 3"},
      {PanelFormText("    Foo = 1\r\n"),
       "Error reading OpenGLLumoPanel1.Foo: Property Foo does not exist on line 3"},
      {PanelFormText("    Font3D_Type.Foo = 1\r\n"),
       "Error reading OpenGLLumoPanel1.Font3D_Type.Foo: Property Font3D_Type.Foo does not exist on line 3"},
      {PanelFormText("    Width.Foo = 1\r\n"),
       "Error reading OpenGLLumoPanel1.Width.Foo: Invalid property path on line 3"},
      {PanelFormText("    Font3D_FirstGylph = 4294967296\r\n"),
       "Error reading OpenGLLumoPanel1.Font3D_FirstGylph: Invalid property value on line 3"},
      {PanelFormText("    TabOrder = 40000\r\n"),
       "Error reading OpenGLLumoPanel1.TabOrder: Invalid property value on line 3"},
      {PanelFormText("    Font3D_NumGylph = 'x'\r\n"),
       "Error reading OpenGLLumoPanel1.Font3D_NumGylph: Invalid property value on line 3"},
      {PanelFormText("    Font3D_Extrustion = 1E300\r\n"),
       "Error reading OpenGLLumoPanel1.Font3D_Extrustion: Invalid property value on line 3"},
      {PanelFormText("    MultiSample = 1\r\n"),
       "Error reading OpenGLLumoPanel1.MultiSample: Invalid property value on line 3"},
      {PanelFormText("    PixelType = f_PFD_TYPE_FOO\r\n"),
       "Error reading OpenGLLumoPanel1.PixelType: Invalid property value on line 3"},
      {PanelFormText("    PFDFlags = [f_PFD_FOO]\r\n"),
       "Error reading OpenGLLumoPanel1.PFDFlags: Invalid property value on line 3"},
      {PanelFormText("    Caption = #1055\r\n"),
       "Error reading OpenGLLumoPanel1.Caption: Invalid property value on line 3"},
      {PanelFormText("    OnPaint = NoSuchMethod\r\n"),
       "Error reading OpenGLLumoPanel1.OnPaint: Invalid property value on line 3"},
      {PanelFormText("    OnMouseDown = PanelPaint\r\n"),
       "Error reading OpenGLLumoPanel1.OnMouseDown: Invalid property value on line 3"},
      {PanelFormText("    PopupMenu = NoSuchMenu\r\n"),
       "Error reading OpenGLLumoPanel1.PopupMenu: Invalid property value on line 3"},
      {"object PanelForm: TPanelForm\r\n" + panel + "  end\r\n  object X: TFoo\r\n  end\r\nend\r\n",
       "Class TFoo not found on line 4"},
      {"object PanelForm: TPanelForm\r\n" + panel + "  end\r\n" + panel + "  end\r\nend\r\n",
       "A component named OpenGLLumoPanel1 already exists on line 4"},
      {PanelFormText("    cColorBits = \r\n"), "Value expected on line 4"},
      {ObjectTextToBinary(PanelFormText("    cDepthBits = 24\r\n")),
       "Error reading OpenGLLumoPanel1.cDepthBits: Invalid property value at byte 60"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TPanelForm form(nullptr);
    try {
      ReadComponentData(c.input, &form);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.OpenGLLumoPanel1, nullptr);
    EXPECT_EQ(form.ControlCount(), 0);
  }
}

TEST(PanelForm, DesignerFormFileReads) {
  const std::string text = DesignerFormText;
  for (const std::string& file : {text, ObjectTextToBinary(text)}) {
    TPanelForm form(nullptr);
    ReadComponentData(file, &form);
    RECT frame = {0, 0, 635, 299};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(form.Width(), frame.right - frame.left);
    EXPECT_EQ(form.Font()->Name(), "Tahoma");
    TOpenGLLumoPanel* p = form.OpenGLLumoPanel1;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->cColorBits(), 24);
    EXPECT_EQ(p->cAccBits(), 0);
    EXPECT_EQ(p->DragCursor(), -21);  // named constants read by number too
    EXPECT_EQ(p->Font3D_Type()->Charset(), 204);
    EXPECT_EQ(p->Font3D_Type()->Color(), clLime);
    EXPECT_EQ(p->Font3D_MaxDeviation(), 2.0f);
    EXPECT_TRUE(p->OnPaint().Assigned());
  }
}

TEST(PanelForm, EveryTruncationOfABinaryFormIsAReadError) {
  std::unique_ptr<TPanelForm> original(NewPanelForm());
  SetEveryPropertyAwayFromItsDefault(original->OpenGLLumoPanel1, original.get());
  std::string binary = WriteComponentBinary(original.get());
  for (std::size_t n = 0; n < binary.size(); ++n) {
    TPanelForm form(nullptr);
    EXPECT_THROW(ReadComponentData(binary.substr(0, n), &form), EReadError) << n;
    EXPECT_EQ(form.ComponentCount(), 0);
  }
}
