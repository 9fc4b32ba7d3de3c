// Writing components to form files and reading them back: published
// properties through their type information, components created by class
// name, events bound to the owner form's published methods by name.
#pragma once

#include <typeinfo>

#include "TypInfo.h"
#include "streaming/FormConvert.h"

// A form class publishes its component fields and event handlers by name:
//
//   const bool published = RegisterFormClass(TForm1::StaticClass(),
//       {LUMO_FORM_FIELD(TForm1, Panel1)}, {LUMO_FORM_METHOD(TForm1, PanelPaint)});
//
// Reading sets the field named like a component to that component, and an
// event written as a method name to that method of the form.
struct TPublishedField {
  const char* Name;
  const TMetaClass& (*FieldClass)();
  void (*Set)(TComponent* Form, TComponent* Value);
};
struct TPublishedMethod {
  const char* Name;
  void* Code;
  const std::type_info* EventType;
};

// Publishes the fields and methods and registers the class by name.
bool RegisterFormClass(const TMetaClass& Class, std::vector<TPublishedField> Fields,
                       std::vector<TPublishedMethod> Methods);
// The published method of a class or its ancestors; null when unknown.
const TPublishedMethod* FindPublishedMethod(const TMetaClass& Class, const AnsiString& Name);
const TPublishedMethod* FindPublishedMethodByCode(const TMetaClass& Class, void* Code);

template <auto F>
struct TFieldTraits;
template <typename C, typename T, T* C::*F>
struct TFieldTraits<F> {
  static void Set(TComponent* form, TComponent* value) {
    static_cast<C*>(form)->*F = static_cast<T*>(value);
  }
};
template <auto F>
TPublishedField PublishedField(const char* Name, const TMetaClass& (*FieldClass)()) {
  return {Name, FieldClass, &TFieldTraits<F>::Set};
}
template <auto M>
TPublishedMethod PublishedMethod(const char* Name) {
  typedef TEventBinder<M> B;
  return {Name, reinterpret_cast<void*>(&B::Thunk), &typeid(typename B::Event)};
}
#define LUMO_FORM_FIELD(C, F) \
  PublishedField<&C::F>(#F, &std::remove_pointer_t<decltype(C::F)>::StaticClass)
#define LUMO_FORM_METHOD(C, M) PublishedMethod<&C::M>(#M)

// Writing: the root component with its properties and the components it
// owns, in either form.
TFormObject WriteComponentData(TComponent* Root);
std::string WriteComponentText(TComponent* Root);
std::string WriteComponentBinary(TComponent* Root);

// Reading into an existing root (a form under construction), from a form
// file in either form. On any error, every component the read created is
// freed and the form's fields to them are cleared, then EReadError rises.
void ReadComponentData(const std::string& Data, TComponent* Instance);
void ReadComponentTree(const TFormObject& Object, TComponent* Instance);
// Creates the root by its registered class name and reads it.
TComponent* ReadComponent(const std::string& Data, TComponent* Owner);
// From a file on disk, text or binary.
void ReadComponentResFile(const AnsiString& FileName, TComponent* Instance);
// From the RT_RCDATA resource ResName of the program's own module.
void ReadComponentRes(const AnsiString& ResName, TComponent* Instance);
// Reads the resource named after Instance's class, if there is one; a form
// class's constructor calls it. False when the program holds none.
bool InitInheritedComponent(TComponent* Instance);
