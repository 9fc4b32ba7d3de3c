#include "Classes.h"

#include <algorithm>
#include <map>

LUMO_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  AnsiString from = Source ? Source->ClassName() : AnsiString("nil");
  throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}

LUMO_IMPLEMENT_COMPONENT(TComponent, TPersistent)

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  SetState(csDestroying, true);
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const AnsiString& Value) { FName = Value; }

TComponent* TComponent::FindComponent(const AnsiString& Name) const {
  for (TComponent* c : FComponents)
    if (_stricmp(c->FName.c_str(), Name.c_str()) == 0) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* Component) {
  if (Component->FOwner) Component->FOwner->RemoveComponent(Component);
  FComponents.push_back(Component);
  Component->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* Component) {
  auto it = std::find(FComponents.begin(), FComponents.end(), Component);
  if (it == FComponents.end()) return;
  FComponents.erase(it);
  Component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  // Last created goes first, as owners free what they own.
  while (!FComponents.empty()) delete FComponents.back();
}

void TComponent::SetDesigning(bool Value) {
  SetState(csDesigning, Value);
  for (TComponent* c : FComponents) c->SetDesigning(Value);
}

void TComponent::Loaded() { SetState(csLoading, false); }

void TComponent::SetState(TComponentStateMember Member, bool Value) {
  if (Value)
    FComponentState << Member;
  else
    FComponentState >> Member;
}

namespace {
struct NoCase {
  bool operator()(const AnsiString& a, const AnsiString& b) const {
    return _stricmp(a.c_str(), b.c_str()) < 0;
  }
};
std::map<AnsiString, const TMetaClass*, NoCase>& Registry() {
  static std::map<AnsiString, const TMetaClass*, NoCase> classes;
  return classes;
}
}  // namespace

void RegisterClass(const TMetaClass& Class) { Registry()[Class.Name] = &Class; }

void UnRegisterClass(const TMetaClass& Class) {
  auto it = Registry().find(Class.Name);
  if (it != Registry().end() && it->second == &Class) Registry().erase(it);
}

const TMetaClass* GetClass(const AnsiString& Name) {
  auto it = Registry().find(Name);
  return it == Registry().end() ? nullptr : it->second;
}

const TMetaClass& FindClass(const AnsiString& Name) {
  const TMetaClass* c = GetClass(Name);
  if (!c) throw EClassNotFound("Class " + Name + " not found");
  return *c;
}

TComponent* CreateComponent(const TMetaClass& Class, TComponent* Owner) {
  if (!Class.Create) throw EConvertError(AnsiString(Class.Name) + " is not a component class");
  return Class.Create(Owner);
}
