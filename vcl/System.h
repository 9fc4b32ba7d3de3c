// The root of the framework: objects, class references, method pointers,
// small sets and the framework's exceptions.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

typedef std::string AnsiString;

class TObject;
class TComponent;

// A class reference: what the framework knows of a class at run time.
// Create is set for components, which the form reader creates by name.
struct TMetaClass {
  const char* Name;
  const TMetaClass* Parent;
  TComponent* (*Create)(TComponent* owner);

  bool InheritsFrom(const TMetaClass& other) const;
};
typedef const TMetaClass* TClass;

#define LUMO_DECLARE_CLASS(Class, Base) \
 public:                                \
  typedef Base inherited;               \
  static const TMetaClass& StaticClass();      \
  const TMetaClass& ClassType() const override;

#define LUMO_IMPLEMENT_CLASS_WITH(Class, Base, Creator)                    \
  const TMetaClass& Class::StaticClass() {                                 \
    static const TMetaClass meta = {#Class, &Base::StaticClass(), Creator}; \
    return meta;                                                           \
  }                                                                        \
  const TMetaClass& Class::ClassType() const { return StaticClass(); }

#define LUMO_IMPLEMENT_CLASS(Class, Base) LUMO_IMPLEMENT_CLASS_WITH(Class, Base, nullptr)
#define LUMO_IMPLEMENT_COMPONENT(Class, Base) \
  LUMO_IMPLEMENT_CLASS_WITH(Class, Base,      \
                            [](TComponent* owner) -> TComponent* { return new Class(owner); })

class TObject {
 public:
  virtual ~TObject() = default;
  static const TMetaClass& StaticClass();
  virtual const TMetaClass& ClassType() const;
  AnsiString ClassName() const { return ClassType().Name; }
  bool InheritsFrom(const TMetaClass& other) const { return ClassType().InheritsFrom(other); }

  // Message dispatch: Message points to a record whose first field is the
  // message number. What no class handles reaches DefaultHandler.
  virtual void Dispatch(void* Message);
  virtual void DefaultHandler(void* Message);
};

// A method pointer: code plus the object it is called on.
struct TMethod {
  void* Code;
  void* Data;
};

template <typename... Args>
struct TEvent {
  typedef void (*Thunk)(void* data, Args...);
  Thunk Code = nullptr;
  void* Data = nullptr;

  bool Assigned() const { return Code != nullptr; }
  void operator()(Args... args) const { Code(Data, args...); }
  TMethod Method() const { return {reinterpret_cast<void*>(Code), Data}; }
  static TEvent FromMethod(TMethod m) {
    TEvent e;
    e.Code = reinterpret_cast<Thunk>(m.Code);
    e.Data = m.Data;
    return e;
  }
  bool operator==(const TEvent& o) const { return Code == o.Code && Data == o.Data; }
};

typedef TEvent<TObject*> TNotifyEvent;

template <auto M>
struct TEventBinder;

template <typename T, typename... A, void (T::*M)(A...)>
struct TEventBinder<M> {
  typedef TEvent<A...> Event;
  static void Thunk(void* data, A... args) { (static_cast<T*>(data)->*M)(args...); }
};

// Binds a method of an object to an event: Panel->SetOnPaint(Bind<&TForm1::Draw>(this)).
template <auto M, typename T>
typename TEventBinder<M>::Event Bind(T* object) {
  typename TEventBinder<M>::Event e;
  e.Code = &TEventBinder<M>::Thunk;
  e.Data = object;
  return e;
}

// A set of enumeration members Min..Max, bit n for ordinal n, stored in as
// many bytes as the range needs; unused bits stay 0.
template <typename E, int Min, int Max>
class Set {
 public:
  static constexpr int Bytes = Max / 8 - Min / 8 + 1;

  Set() { std::memset(data_, 0, sizeof data_); }
  Set(std::initializer_list<E> members) : Set() {
    for (E m : members) *this << m;
  }

  Set& operator<<(E m) {
    if (InRange(m)) data_[Byte(m)] |= Bit(m);
    return *this;
  }
  Set& operator>>(E m) {
    if (InRange(m)) data_[Byte(m)] &= static_cast<std::uint8_t>(~Bit(m));
    return *this;
  }
  bool Contains(E m) const { return InRange(m) && (data_[Byte(m)] & Bit(m)) != 0; }
  bool Empty() const {
    for (std::uint8_t b : data_)
      if (b) return false;
    return true;
  }
  bool operator==(const Set& o) const { return std::memcmp(data_, o.data_, sizeof data_) == 0; }
  bool operator!=(const Set& o) const { return !(*this == o); }

  // The raw bits, bit n of the result for ordinal n.
  std::uint32_t Bits() const {
    std::uint32_t v = 0;
    for (int i = Min; i <= Max; ++i)
      if (Contains(static_cast<E>(i))) v |= 1u << i;
    return v;
  }
  static Set FromBits(std::uint32_t v) {
    Set s;
    for (int i = Min; i <= Max; ++i)
      if (v & (1u << i)) s << static_cast<E>(i);
    return s;
  }

 private:
  static bool InRange(E m) { return static_cast<int>(m) >= Min && static_cast<int>(m) <= Max; }
  static int Byte(E m) { return static_cast<int>(m) / 8 - Min / 8; }
  static std::uint8_t Bit(E m) { return static_cast<std::uint8_t>(1u << (static_cast<int>(m) % 8)); }

  std::uint8_t data_[Bytes];
};

// The framework's exceptions.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const AnsiString& message) : std::runtime_error(message) {}
  AnsiString Message() const { return what(); }
};
class EConvertError : public Exception {
  using Exception::Exception;
};
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
class EOutOfResources : public Exception {
  using Exception::Exception;
};
