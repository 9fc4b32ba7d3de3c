// A form file as data, with no knowledge of classes: objects with their
// properties and children, and typed values. Both file forms (text and the
// binary TPF0 form) read into this and write from it. No Windows header here,
// so that the format builds natively for fuzzing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vcl/System.h"

// The value codes of the binary form.
enum TValueType : std::uint8_t {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
  vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
  vaInt64, vaUTF8String, vaDouble
};

// Flags of a component header.
enum TFilerFlag : unsigned { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

// The framework's read error: every malformed form file ends in one, with a
// message that says where (line or byte) and what.
class EReadError : public Exception {
  using Exception::Exception;
};

// A form that cannot be put in the form asked for (a name longer than the
// binary form holds, a float the text form cannot show).
class EWriteError : public Exception {
  using Exception::Exception;
};

// Where something stands in its file: a line of text or a byte offset.
struct TFormPos {
  bool Binary = false;
  std::size_t At = 0;
  // " on line 3" or " at byte 57".
  std::string Text() const;
};

struct TFormItem;

// One value. Integers of every width read as vaInt64 and strings of every
// coding (8-bit, long, wide, UTF-8) as vaString; the binary writer picks the
// smallest code that holds the value, so the code is not part of the value.
struct TFormValue {
  TValueType Type = vaNull;
  std::int64_t Int = 0;               // integers; currency in ten-thousandths
  double Float = 0;                   // extended, single, double, date
  std::u16string Str;                 // strings as UTF-16 code units
  std::string Ident;                  // identifiers
  std::vector<std::string> Members;   // set
  std::vector<std::uint8_t> Bytes;    // binary data
  std::vector<TFormValue> Items;      // list
  std::vector<TFormItem> Collection;  // collection

  bool operator==(const TFormValue& o) const;
};

struct TFormProperty {
  std::string Name;  // dotted for sub-properties: Font3D_Type.Name
  TFormValue Value;
  TFormPos Pos;

  bool operator==(const TFormProperty& o) const { return Name == o.Name && Value == o.Value; }
};

struct TFormItem {
  bool HasOrder = false;
  std::int64_t Order = 0;
  std::vector<TFormProperty> Properties;

  bool operator==(const TFormItem& o) const;
};

struct TFormObject {
  unsigned Flags = 0;  // TFilerFlag bits
  std::int64_t ChildPos = 0;
  std::string ClassName;
  std::string Name;
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;
  TFormPos Pos;

  bool operator==(const TFormObject& o) const {
    return Flags == o.Flags && ChildPos == o.ChildPos && ClassName == o.ClassName &&
           Name == o.Name && Properties == o.Properties && Children == o.Children;
  }
};

// Nesting beyond this (objects, lists, collections) is refused rather than
// followed into a stack overflow.
constexpr int MaxFormNesting = 200;

// Identifier rules shared by both forms: a letter or '_', then letters,
// digits and '_'; Dotted also allows '.' between parts.
bool IsFormIdent(const std::string& s, bool Dotted);
// ASCII comparison without case, as names in form files compare.
bool SameText(const std::string& a, const std::string& b);
// Words that open or close a block in text and so can name neither a
// property nor an identifier value.
bool IsFormKeyword(const std::string& s);

// UTF-8 and UTF-16 for string values; false on malformed input.
bool Utf8ToUtf16(const std::string& in, std::u16string& out);
std::string Utf16ToUtf8(const std::u16string& in);
