#include <gtest/gtest.h>

#include "vcl/Controls.h"
#include "vcl/Graphics.h"

namespace {

// Counts how many of its kind are alive.
class TCounted : public TComponent {
  LUMO_DECLARE_CLASS(TCounted, TComponent)
 public:
  explicit TCounted(TComponent* AOwner) : TComponent(AOwner) { ++Alive; }
  ~TCounted() override { --Alive; }
  static int Alive;
};
int TCounted::Alive = 0;
LUMO_IMPLEMENT_COMPONENT(TCounted, TComponent)

}  // namespace

TEST(Persistent, AssignRaisesConversionErrorNamingBothClasses) {
  struct Case {
    TPersistent* source;
    const char* message;
  };
  TComponent foreign(nullptr);
  TFont font;
  for (const Case& c : {Case{nullptr, "Cannot assign a nil to a TFont"},
                        Case{&foreign, "Cannot assign a TComponent to a TFont"}}) {
    try {
      font.Assign(c.source);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST(Component, OwnerFreesWhatItOwnsAndOwnedMayGoFirst) {
  auto* owner = new TComponent(nullptr);
  auto* a = new TCounted(owner);
  new TCounted(owner);
  a->SetName("A");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("a"), a);
  delete a;  // leaves its owner's list
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(TCounted::Alive, 1);
  delete owner;
  EXPECT_EQ(TCounted::Alive, 0);
}

TEST(Component, DesigningAndLoadingStates) {
  TComponent owner(nullptr);
  auto* child = new TComponent(&owner);
  owner.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  child->SetLoading(true);
  EXPECT_TRUE(child->ComponentState().Contains(csLoading));
  child->Loaded();
  EXPECT_FALSE(child->ComponentState().Contains(csLoading));
}

TEST(ClassRegistry, CreatesComponentsByNameThroughTheirClass) {
  RegisterClass(TCounted::StaticClass());
  TComponent owner(nullptr);
  TComponent* made = CreateComponent(FindClass("tcounted"), &owner);
  EXPECT_EQ(made->ClassName(), "TCounted");
  EXPECT_TRUE(made->InheritsFrom(TComponent::StaticClass()));
  EXPECT_EQ(made->Owner(), &owner);
  try {
    FindClass("TFoo");
    ADD_FAILURE();
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TFoo not found");
  }
  UnRegisterClass(TCounted::StaticClass());
  EXPECT_EQ(GetClass("TCounted"), nullptr);
}

enum TSmall { s0, s1, s2, s3, s4, s5, s6, s7, s8, s9, s10 };

TEST(SetType, BitNForOrdinalNInTwoBytesWithUnusedBitsZero) {
  typedef Set<TSmall, s0, s10> TSmallSet;
  static_assert(sizeof(TSmallSet) == 2);
  TSmallSet s{s0, s8, s10};
  std::uint16_t raw;
  std::memcpy(&raw, &s, 2);
  EXPECT_EQ(raw, 0x0501);
  s >> s8;
  EXPECT_FALSE(s.Contains(s8));
  EXPECT_EQ(s.Bits(), 0x0401u);
  EXPECT_EQ(TSmallSet::FromBits(0xFFFF).Bits(), 0x07FFu);  // out-of-range bits dropped
  EXPECT_TRUE(TSmallSet().Empty());
}

namespace {
struct Receiver {
  TObject* sender = nullptr;
  int calls = 0;
  void Handle(TObject* Sender) {
    sender = Sender;
    ++calls;
  }
};
}  // namespace

TEST(NotifyEvent, CalledOnlyWhenAssignedWithItsObject) {
  Receiver r;
  TNotifyEvent e;
  EXPECT_FALSE(e.Assigned());
  e = Bind<&Receiver::Handle>(&r);
  ASSERT_TRUE(e.Assigned());
  TComponent sender(nullptr);
  e(&sender);
  EXPECT_EQ(r.calls, 1);
  EXPECT_EQ(r.sender, &sender);
  TNotifyEvent copy = TNotifyEvent::FromMethod(e.Method());
  EXPECT_TRUE(copy == e);
}
