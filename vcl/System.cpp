#include "System.h"

bool TMetaClass::InheritsFrom(const TMetaClass& other) const {
  for (const TMetaClass* c = this; c; c = c->Parent)
    if (c == &other) return true;
  return false;
}

const TMetaClass& TObject::StaticClass() {
  static const TMetaClass meta = {"TObject", nullptr, nullptr};
  return meta;
}

const TMetaClass& TObject::ClassType() const { return StaticClass(); }

void TObject::Dispatch(void* Message) { DefaultHandler(Message); }

void TObject::DefaultHandler(void*) {}
