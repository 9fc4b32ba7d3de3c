// Type information of published properties: for each class, its published
// properties with their type, read and write access, declared default and
// order (the ancestors' first). Form files store what this describes.
#pragma once

#include <cstdint>
#include <iterator>
#include <optional>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "Classes.h"

enum TTypeKind { tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod };
enum TFloatType { ftSingle, ftDouble };

// A named integer constant, such as a colour or a character set.
struct TIdentMapEntry {
  std::int64_t Value;
  const char* Name;
};

struct TTypeInfo {
  TTypeKind Kind;
  const char* Name;
  std::int64_t MinValue = 0;  // ordinal kinds
  std::int64_t MaxValue = 0;
  const char* const* Names = nullptr;     // enumeration members, MinValue..MaxValue
  const TTypeInfo* CompType = nullptr;    // set: its member enumeration
  TFloatType FloatType = ftDouble;
  const TMetaClass& (*ClassType)() = nullptr;  // class
  const std::type_info* MethodType = nullptr;  // method: the event type
  const TIdentMapEntry* Idents = nullptr;      // integers written by name
  int IdentCount = 0;
};

// The framework's types, as their type information names them.
extern const TTypeInfo TypeInfo_int, TypeInfo_short, TypeInfo_unsigned_char, TypeInfo_bool,
    TypeInfo_float, TypeInfo_AnsiString, TypeInfo_TColor, TypeInfo_TCursor, TypeInfo_TFontCharset,
    TypeInfo_TAlign, TypeInfo_TAlignment, TypeInfo_TDragMode, TypeInfo_TFontPitch,
    TypeInfo_TFontStyle, TypeInfo_TFontStyles, TypeInfo_TFont, TypeInfo_TPopupMenu,
    TypeInfo_TNotifyEvent, TypeInfo_TMouseEvent, TypeInfo_TMouseMoveEvent,
    TypeInfo_TMouseWheelEvent, TypeInfo_TMouseWheelUpDownEvent, TypeInfo_TMouseActivateEvent,
    TypeInfo_TDragDropEvent, TypeInfo_TDragOverEvent, TypeInfo_TStartDragEvent,
    TypeInfo_TEndDragEvent;

// The type information of an enumeration with members 0..n-1.
#define LUMO_ENUM_TYPEINFO(Type, ...)                                                     \
  static const char* const Type##Names[] = {__VA_ARGS__};                                 \
  const TTypeInfo TypeInfo_##Type = {.Kind = tkEnumeration, .Name = #Type, .MinValue = 0, \
                                     .MaxValue = std::size(Type##Names) - 1, .Names = Type##Names};

// A property's value in one of the kinds' shapes.
struct TPropValue {
  std::int64_t Ord = 0;  // ordinal kinds; sets as their bits
  double Float = 0;
  AnsiString Str;
  TObject* Object = nullptr;
  TMethod Method = {nullptr, nullptr};
};

struct TPropInfo {
  const char* Name;
  const TTypeInfo* PropType;
  void (*Get)(TObject* Instance, TPropValue& Value);
  void (*Set)(TObject* Instance, const TPropValue& Value);
  // The value a form file leaves out (ordinal kinds and sets); none means
  // always stored.
  std::optional<std::int64_t> Default;
  bool Stored = true;  // false: published, never written
};

// Looks up a published property in a class and its ancestors (no case).
const TPropInfo* GetPropInfo(const TMetaClass& Class, const AnsiString& Name);
// Every published property of a class, the ancestors' first; a class that
// publishes an ancestor's property again keeps the ancestor's place.
const std::vector<const TPropInfo*>& GetPropList(const TMetaClass& Class);

// Publishes a class's own properties, in declaration order.
bool RegisterPublishedProperties(const TMetaClass& Class, std::vector<TPropInfo> Own);

// The member name of an enumeration value, or of a named integer constant.
const char* GetEnumName(const TTypeInfo& Type, std::int64_t Value);
// The value of a member or constant name (no case); nothing when unknown.
std::optional<std::int64_t> GetEnumValue(const TTypeInfo& Type, const AnsiString& Name);

namespace typinfo_detail {

template <typename T>
struct IsSet : std::false_type {};
template <typename E, int Min, int Max>
struct IsSet<Set<E, Min, Max>> : std::true_type {};
template <typename T>
struct IsEvent : std::false_type {};
template <typename... A>
struct IsEvent<TEvent<A...>> : std::true_type {};

template <typename T>
void ToValue(const T& v, TPropValue& out) {
  if constexpr (IsSet<T>::value) out.Ord = v.Bits();
  else if constexpr (IsEvent<T>::value) out.Method = v.Method();
  else if constexpr (std::is_floating_point_v<T>) out.Float = v;
  else if constexpr (std::is_same_v<T, AnsiString>) out.Str = v;
  else if constexpr (std::is_pointer_v<T>) out.Object = v;
  else out.Ord = static_cast<std::int64_t>(v);
}

template <typename T>
T FromValue(const TPropValue& v) {
  if constexpr (IsSet<T>::value) return T::FromBits(static_cast<std::uint32_t>(v.Ord));
  else if constexpr (IsEvent<T>::value) return T::FromMethod(v.Method);
  else if constexpr (std::is_floating_point_v<T>) return static_cast<T>(v.Float);
  else if constexpr (std::is_same_v<T, AnsiString>) return v.Str;
  else if constexpr (std::is_pointer_v<T>) return dynamic_cast<T>(v.Object);
  else return static_cast<T>(v.Ord);
}

template <auto G>
struct Getter;
template <typename C, typename R, R (C::*G)() const>
struct Getter<G> {
  typedef C Class;
  typedef std::remove_cv_t<std::remove_reference_t<R>> Type;
};
template <auto S>
struct Setter;
template <typename C, typename P, void (C::*S)(P)>
struct Setter<S> {
  typedef C Class;
  typedef std::remove_cv_t<std::remove_reference_t<P>> Type;
};

template <auto G, auto S>
struct Access {
  typedef typename Getter<G>::Type T;
  static void Get(TObject* o, TPropValue& v) {
    ToValue<T>((static_cast<typename Getter<G>::Class*>(o)->*G)(), v);
  }
  static void Set(TObject* o, const TPropValue& v) {
    (static_cast<typename Setter<S>::Class*>(o)->*S)(FromValue<typename Setter<S>::Type>(v));
  }
};

}  // namespace typinfo_detail

// One published property read by a getter and written by a setter:
// PublishedProperty<&TFoo::Width, &TFoo::SetWidth>("Width", TypeInfo_int, 0).
template <auto G, auto S>
TPropInfo PublishedProperty(const char* Name, const TTypeInfo& Type,
                            std::optional<std::int64_t> Default = std::nullopt,
                            bool Stored = true) {
  typedef typinfo_detail::Access<G, S> A;
  return TPropInfo{Name, &Type, &A::Get, &A::Set, Default, Stored};
}

// The usual case: the getter X and the setter SetX of class C.
#define LUMO_PUBLISHED(C, X, ...) PublishedProperty<&C::X, &C::Set##X>(#X, __VA_ARGS__)
