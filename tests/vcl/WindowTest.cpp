#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/Pump.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace {

// Records what the framework asks of a control and what reaches it.
class TSpyControl : public TCustomPanel {
  LUMO_DECLARE_CLASS(TSpyControl, TCustomPanel)
 public:
  explicit TSpyControl(TComponent* AOwner) : TCustomPanel(AOwner) {}
  std::vector<UINT> messages;
  int createParamsCalls = 0, resizes = 0;
  bool handleDuringCreateParams = true;

 protected:
  void CreateParams(TCreateParams& Params) override {
    inherited::CreateParams(Params);
    ++createParamsCalls;
    handleDuringCreateParams = HandleAllocated();
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  }
  void Dispatch(void* Message) override {
    messages.push_back(static_cast<TMessage*>(Message)->Msg);
    inherited::Dispatch(Message);
  }
  void Resize() override { ++resizes; }
};
LUMO_IMPLEMENT_COMPONENT(TSpyControl, TCustomPanel)

int Count(const std::vector<UINT>& v, UINT m) { return static_cast<int>(std::count(v.begin(), v.end(), m)); }

struct WindowTest : ::testing::Test {
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    spy = new TSpyControl(form.get());
    spy->SetParent(form.get());
    spy->SetBounds(10, 10, 120, 80);
  }
  std::unique_ptr<TForm> form;
  TSpyControl* spy;
};

}  // namespace

TEST_F(WindowTest, CreateParamsShapesTheWindowBeforeItExists) {
  form->Show();
  ASSERT_TRUE(spy->HandleAllocated());
  EXPECT_EQ(spy->createParamsCalls, 1);
  EXPECT_FALSE(spy->handleDuringCreateParams);
  EXPECT_TRUE(GetWindowLongA(spy->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetParent(spy->Handle()), form->Handle());
  EXPECT_EQ(Count(spy->messages, WM_CREATE), 1);
}

TEST_F(WindowTest, ResizeOnSizeChangesAndBoundsFollowTheWindow) {
  form->Show();
  int before = spy->resizes;
  spy->SetWidth(200);
  EXPECT_GT(spy->resizes, before);
  EXPECT_EQ(spy->Width(), 200);
  RECT r;
  GetWindowRect(spy->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 200);
}

TEST_F(WindowTest, DestroyedWindowIsMadeAgainOnDemand) {
  form->Show();
  HWND first = spy->Handle();
  spy->DestroyHandle();
  EXPECT_FALSE(spy->HandleAllocated());
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(Count(spy->messages, WM_DESTROY), 1);
  HWND second = spy->Handle();
  EXPECT_TRUE(IsWindow(second));
  EXPECT_EQ(spy->createParamsCalls, 2);
  EXPECT_EQ(Count(spy->messages, WM_CREATE), 2);
}

TEST_F(WindowTest, ControlWithoutParentHasNoWindow) {
  TSpyControl orphan(nullptr);
  EXPECT_THROW(orphan.Handle(), EInvalidOperation);
}

TEST_F(WindowTest, BackgroundIsErasedInTheControlsColour) {
  form->Show();
  spy->SetColor(clBlue);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 200, 200);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageA(spy->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
  EXPECT_EQ(GetPixel(mem, 5, 5), RGB(0, 0, 255));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

namespace {
struct MouseLog {
  std::vector<std::string> events;
  void Click(TObject*) { events.push_back("click"); }
  void DblClick(TObject*) { events.push_back("dblclick"); }
  void Down(TObject*, TMouseButton b, TShiftState s, int x, int y) {
    events.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," +
                     std::to_string(y) + (s.Contains(ssShift) ? " shift" : ""));
  }
  void Up(TObject*, TMouseButton b, TShiftState, int, int) {
    events.push_back("up " + std::to_string(b));
  }
  void Move(TObject*, TShiftState, int x, int y) {
    events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  }
  void Enter(TObject*) { events.push_back("enter"); }
  void Leave(TObject*) { events.push_back("leave"); }
  void Wheel(TObject*, TShiftState, int delta, TPoint, bool& handled) {
    events.push_back("wheel " + std::to_string(delta));
    handled = delta > 200;
  }
  void WheelUp(TObject*, TShiftState, TPoint, bool&) { events.push_back("wheel up"); }
  void WheelDown(TObject*, TShiftState, TPoint, bool&) { events.push_back("wheel down"); }
};
}  // namespace

TEST_F(WindowTest, MouseMessagesReachTheirEvents) {
  MouseLog log;
  spy->SetOnClick(Bind<&MouseLog::Click>(&log));
  spy->SetOnDblClick(Bind<&MouseLog::DblClick>(&log));
  spy->SetOnMouseDown(Bind<&MouseLog::Down>(&log));
  spy->SetOnMouseUp(Bind<&MouseLog::Up>(&log));
  spy->SetOnMouseMove(Bind<&MouseLog::Move>(&log));
  spy->SetOnMouseEnter(Bind<&MouseLog::Enter>(&log));
  spy->SetOnMouseLeave(Bind<&MouseLog::Leave>(&log));
  spy->SetOnMouseWheel(Bind<&MouseLog::Wheel>(&log));
  spy->SetOnMouseWheelUp(Bind<&MouseLog::WheelUp>(&log));
  spy->SetOnMouseWheelDown(Bind<&MouseLog::WheelDown>(&log));
  form->Show();
  HWND w = spy->Handle();
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 6));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  SendMessageA(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 8));
  SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
  SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
  SendMessageA(w, WM_MOUSELEAVE, 0, 0);
  std::vector<std::string> expected = {
      "enter", "move 3,4", "down 0 5,6 shift", "up 0", "click", "dblclick", "down 0 5,6",
      "down 1 7,8", "wheel 120", "wheel up", "wheel -120", "wheel down", "wheel 240", "leave"};
  EXPECT_EQ(log.events, expected);
}

TEST_F(WindowTest, ReleaseOutsideTheControlIsNoClick) {
  MouseLog log;
  spy->SetOnClick(Bind<&MouseLog::Click>(&log));
  form->Show();
  SendMessageA(spy->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageA(spy->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 6));
  EXPECT_TRUE(log.events.empty());
}

TEST_F(WindowTest, FocusFiresEnterAndExit) {
  MouseLog log;
  spy->SetOnEnter(Bind<&MouseLog::Enter>(&log));
  spy->SetOnExit(Bind<&MouseLog::Leave>(&log));
  form->Show();
  SendMessageA(spy->Handle(), WM_SETFOCUS, 0, 0);
  SendMessageA(spy->Handle(), WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(log.events, (std::vector<std::string>{"enter", "leave"}));
}

namespace {
struct Thrower {
  void Throw(TObject*) { throw EInvalidOperation("from a handler"); }
};
}  // namespace

TEST_F(WindowTest, ExceptionFromAHandlerReachesTheApplicationNotTheSystem) {
  TApplication app(nullptr);
  Thrower t;
  spy->SetOnClick(Bind<&Thrower::Throw>(&t));
  form->Show();
  SendMessageA(spy->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageA(spy->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  EXPECT_EQ(app.LastException(), "from a handler");
}

TEST_F(WindowTest, ClientAlignedChildFillsItsParent) {
  form->Show();
  spy->SetAlign(alClient);
  EXPECT_EQ(spy->Width(), form->ClientWidth());
  EXPECT_EQ(spy->Height(), form->ClientHeight());
  form->SetClientSize(300, 200);
  EXPECT_EQ(spy->Width(), 300);
  EXPECT_EQ(spy->Height(), 200);
}

TEST_F(WindowTest, DeletingTheFormDestroysChildWindowsWhileChildrenAreAlive) {
  form->Show();
  HWND child = spy->Handle();
  form.reset();
  EXPECT_FALSE(IsWindow(child));
}
