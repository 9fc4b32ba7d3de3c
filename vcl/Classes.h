// Persistent objects, components with owners and state, and the registry of
// classes through which components are created by name.
#pragma once

#include <windows.h>

#include <vector>

#include "System.h"

// The framework's RegisterClass is not the system's window-class call.
#undef RegisterClass

class TPersistent : public TObject {
  LUMO_DECLARE_CLASS(TPersistent, TObject)
 public:
  // Copies Source's attributes into this object. A class that knows Source
  // overrides it; the last resort raises EConvertError naming both classes.
  virtual void Assign(TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

enum TComponentStateMember { csLoading, csReading, csWriting, csDestroying, csDesigning };
typedef Set<TComponentStateMember, csLoading, csDesigning> TComponentState;

class TComponent : public TPersistent {
  LUMO_DECLARE_CLASS(TComponent, TPersistent)
 public:
  // Every component class has this constructor, so that it can be created
  // through its class reference.
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  const AnsiString& Name() const { return FName; }
  virtual void SetName(const AnsiString& Value);
  const TComponentState& ComponentState() const { return FComponentState; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const { return FComponents.at(Index); }
  TComponent* FindComponent(const AnsiString& Name) const;

  void InsertComponent(TComponent* Component);
  void RemoveComponent(TComponent* Component);
  void DestroyComponents();

  // Design time and form reading mark the component and everything it owns.
  virtual void SetDesigning(bool Value);
  void SetLoading(bool Value) { SetState(csLoading, Value); }
  // Called once reading has set every property; clears csLoading.
  virtual void Loaded();

 protected:
  void SetState(TComponentStateMember Member, bool Value);

 private:
  TComponent* FOwner = nullptr;
  AnsiString FName;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
};

typedef const TMetaClass* TComponentClass;

// The registry of classes that can be created by name.
void RegisterClass(const TMetaClass& Class);
void UnRegisterClass(const TMetaClass& Class);
const TMetaClass* GetClass(const AnsiString& Name);
// Like GetClass, but raises EClassNotFound ("Class TFoo not found").
const TMetaClass& FindClass(const AnsiString& Name);
// Creates a component through its class reference.
TComponent* CreateComponent(const TMetaClass& Class, TComponent* Owner);

class EClassNotFound : public Exception {
  using Exception::Exception;
};
class EResNotFound : public Exception {
  using Exception::Exception;
};
