#include "BinaryForm.h"

#include <cmath>
#include <cstring>

namespace {

const char Signature[] = "TPF0";

class BinaryReader {
 public:
  explicit BinaryReader(const std::string& data)
      : p_(reinterpret_cast<const std::uint8_t*>(data.data())), size_(data.size()) {}

  TFormObject ReadFile() {
    SkipResourceHeader();
    Need(4);
    if (std::memcmp(p_ + pos_, Signature, 4) != 0) Fail("Invalid stream format", pos_);
    pos_ += 4;
    return ReadObject(0);
  }

 private:
  [[noreturn]] void Fail(const std::string& what, std::size_t at) {
    throw EReadError(what + TFormPos{true, at}.Text());
  }
  void Need(std::size_t n) {
    if (n > size_ - pos_) Fail("Stream read error", pos_);
  }
  std::uint8_t Byte() {
    Need(1);
    return p_[pos_++];
  }
  std::uint8_t Peek() {
    Need(1);
    return p_[pos_];
  }
  std::uint64_t Unsigned(int bytes) {
    Need(bytes);
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p_[pos_ + i];
    pos_ += bytes;
    return v;
  }
  std::string Bytes(std::size_t n) {
    Need(n);
    std::string s(reinterpret_cast<const char*>(p_ + pos_), n);
    pos_ += n;
    return s;
  }
  std::string ShortString() { return Bytes(Byte()); }
  std::string Name(bool dotted, bool allowEmpty) {
    std::size_t at = pos_;
    std::string s = ShortString();
    if (s.empty() && allowEmpty) return s;
    if (!IsFormIdent(s, dotted)) Fail("Invalid identifier", at);
    return s;
  }
  void Nest(int depth) {
    if (depth > MaxFormNesting) Fail("Nesting too deep", pos_);
  }

  // FF 0A 00, the class name, its terminating zero, 30 10, then the size of
  // what follows; the form data ends there.
  void SkipResourceHeader() {
    if (size_ < 3 || p_[0] != 0xFF || p_[1] != 0x0A || p_[2] != 0x00) return;
    pos_ = 3;
    while (Byte() != 0) {
    }
    std::size_t at = pos_;
    if (Byte() != 0x30 || Byte() != 0x10) Fail("Invalid stream format", at);
    std::uint64_t length = Unsigned(4);
    Need(length);
    size_ = pos_ + length;
  }

  TFormObject ReadObject(int depth) {
    Nest(depth);
    TFormObject o;
    o.Pos = {true, pos_};
    if ((Peek() & 0xF0) == 0xF0) {
      std::size_t at = pos_;
      o.Flags = Byte() & 0x0F;
      // Text names one of inherited and inline, so a header cannot be both.
      bool both = (o.Flags & ffInherited) && (o.Flags & ffInline);
      if (both || (o.Flags & ~(ffInherited | ffChildPos | ffInline))) Fail("Invalid stream format", at);
      if (o.Flags & ffChildPos) o.ChildPos = ReadInteger();
    }
    o.ClassName = Name(false, false);
    o.Name = Name(false, true);
    while (Peek() != 0) o.Properties.push_back(ReadProperty(depth));
    ++pos_;
    while (Peek() != 0) o.Children.push_back(ReadObject(depth + 1));
    ++pos_;
    return o;
  }

  TFormProperty ReadProperty(int depth) {
    TFormProperty p;
    p.Pos = {true, pos_};
    std::size_t at = pos_;
    p.Name = Name(true, false);
    if (IsFormKeyword(p.Name)) Fail("Invalid identifier", at);
    p.Value = ReadValue(depth);
    return p;
  }

  std::int64_t ReadInteger() {
    std::size_t at = pos_;
    TFormValue v = ReadValue(0);
    if (v.Type != vaInt64) Fail("Invalid stream format", at);
    return v.Int;
  }

  double ReadFloat(int bytes, std::size_t at) {
    double v = 0;
    bool ok = true;
    if (bytes == 10) {
      Need(10);
      ok = ExtendedToDouble(p_ + pos_, v);
      pos_ += 10;
    } else if (bytes == 4) {
      std::uint32_t u = static_cast<std::uint32_t>(Unsigned(4));
      float f;
      std::memcpy(&f, &u, 4);
      v = f;
    } else {
      std::uint64_t u = Unsigned(8);
      std::memcpy(&v, &u, 8);
    }
    if (!ok || !std::isfinite(v)) Fail("Invalid floating point value", at);
    return v;
  }

  std::u16string Latin1(const std::string& s) {
    std::u16string out;
    for (char c : s) out += static_cast<char16_t>(static_cast<unsigned char>(c));
    return out;
  }

  TFormValue ReadValue(int depth) {
    std::size_t at = pos_;
    TFormValue v;
    v.Type = static_cast<TValueType>(Byte());
    switch (v.Type) {
      case vaNull: case vaFalse: case vaTrue: case vaNil:
        break;
      case vaInt8:
        v.Int = static_cast<std::int8_t>(Unsigned(1));
        v.Type = vaInt64;
        break;
      case vaInt16:
        v.Int = static_cast<std::int16_t>(Unsigned(2));
        v.Type = vaInt64;
        break;
      case vaInt32:
        v.Int = static_cast<std::int32_t>(Unsigned(4));
        v.Type = vaInt64;
        break;
      case vaInt64:
        v.Int = static_cast<std::int64_t>(Unsigned(8));
        break;
      case vaCurrency:
        v.Int = static_cast<std::int64_t>(Unsigned(8));
        break;
      case vaExtended:
        v.Float = ReadFloat(10, at);
        break;
      case vaSingle:
        v.Float = ReadFloat(4, at);
        break;
      case vaDouble: case vaDate:
        v.Float = ReadFloat(8, at);
        break;
      case vaString:
        v.Str = Latin1(ShortString());
        break;
      case vaLString:
        v.Str = Latin1(Bytes(Unsigned(4)));
        v.Type = vaString;
        break;
      case vaWString: {
        std::uint64_t count = Unsigned(4);
        Need(count * 2);
        for (std::uint64_t i = 0; i < count; ++i) v.Str += static_cast<char16_t>(Unsigned(2));
        v.Type = vaString;
        break;
      }
      case vaUTF8String:
        if (!Utf8ToUtf16(Bytes(Unsigned(4)), v.Str)) Fail("Invalid UTF-8 string", at);
        v.Type = vaString;
        break;
      case vaIdent:
        v.Ident = Name(true, false);
        if (IsFormKeyword(v.Ident)) Fail("Invalid identifier", at + 1);
        break;
      case vaBinary: {
        std::string b = Bytes(Unsigned(4));
        v.Bytes.assign(b.begin(), b.end());
        break;
      }
      case vaSet:
        for (std::string m; !(m = Name(false, true)).empty();) v.Members.push_back(m);
        break;
      case vaList:
        Nest(depth + 1);
        while (Peek() != vaNull) v.Items.push_back(ReadValue(depth + 1));
        ++pos_;
        break;
      case vaCollection:
        Nest(depth + 1);
        while (Peek() != vaNull) v.Collection.push_back(ReadItem(depth + 1));
        ++pos_;
        break;
      default:
        Fail("Invalid stream format", at);
    }
    return v;
  }

  TFormItem ReadItem(int depth) {
    TFormItem item;
    TValueType t = static_cast<TValueType>(Peek());
    if (t == vaInt8 || t == vaInt16 || t == vaInt32) {
      item.HasOrder = true;
      item.Order = ReadInteger();
    }
    std::size_t at = pos_;
    if (Byte() != vaList) Fail("Invalid stream format", at);
    while (Peek() != 0) item.Properties.push_back(ReadProperty(depth));
    ++pos_;
    return item;
  }

  const std::uint8_t* p_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

class BinaryWriter {
 public:
  std::string Out;

  void Object(const TFormObject& o) {
    if (o.Flags) {
      Byte(0xF0 | o.Flags);
      if (o.Flags & ffChildPos) Integer(o.ChildPos);
    }
    ShortString(o.ClassName);
    ShortString(o.Name);
    for (const TFormProperty& p : o.Properties) Property(p);
    Byte(0);
    for (const TFormObject& c : o.Children) Object(c);
    Byte(0);
  }

 private:
  void Byte(unsigned b) { Out += static_cast<char>(b); }
  void Unsigned(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i, v >>= 8) Byte(v & 0xFF);
  }
  void ShortString(const std::string& s) {
    if (s.size() > 255) throw EWriteError("Name too long: " + s.substr(0, 32) + "...");
    Byte(s.size());
    Out += s;
  }
  void Property(const TFormProperty& p) {
    ShortString(p.Name);
    Value(p.Value);
  }
  void Integer(std::int64_t v) {
    if (v >= -128 && v <= 127) {
      Byte(vaInt8);
      Unsigned(v, 1);
    } else if (v >= -32768 && v <= 32767) {
      Byte(vaInt16);
      Unsigned(v, 2);
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
      Byte(vaInt32);
      Unsigned(v, 4);
    } else {
      Byte(vaInt64);
      Unsigned(v, 8);
    }
  }
  void String(const std::u16string& s) {
    bool wide = false;
    for (char16_t c : s) wide |= c > 0xFF;
    if (wide) {
      Byte(vaWString);
      Unsigned(s.size(), 4);
      for (char16_t c : s) Unsigned(c, 2);
      return;
    }
    if (s.size() <= 255) {
      Byte(vaString);
      Byte(s.size());
    } else {
      Byte(vaLString);
      Unsigned(s.size(), 4);
    }
    for (char16_t c : s) Byte(c);
  }
  void Float(TValueType type, double v) {
    Byte(type);
    if (type == vaExtended) {
      std::uint8_t e[10];
      DoubleToExtended(v, e);
      Out.append(reinterpret_cast<const char*>(e), 10);
    } else if (type == vaSingle) {
      float f = static_cast<float>(v);
      std::uint32_t u;
      std::memcpy(&u, &f, 4);
      Unsigned(u, 4);
    } else {
      std::uint64_t u;
      std::memcpy(&u, &v, 8);
      Unsigned(u, 8);
    }
  }
  void Value(const TFormValue& v) {
    switch (v.Type) {
      case vaInt8: case vaInt16: case vaInt32: case vaInt64:
        Integer(v.Int);
        break;
      case vaExtended: case vaSingle: case vaDouble: case vaDate:
        Float(v.Type, v.Float);
        break;
      case vaCurrency:
        Byte(vaCurrency);
        Unsigned(v.Int, 8);
        break;
      case vaString: case vaLString: case vaWString:
        String(v.Str);
        break;
      case vaUTF8String: {
        std::string u = Utf16ToUtf8(v.Str);
        Byte(vaUTF8String);
        Unsigned(u.size(), 4);
        Out += u;
        break;
      }
      case vaIdent:
        Byte(vaIdent);
        ShortString(v.Ident);
        break;
      case vaBinary:
        Byte(vaBinary);
        Unsigned(v.Bytes.size(), 4);
        Out.append(v.Bytes.begin(), v.Bytes.end());
        break;
      case vaSet:
        Byte(vaSet);
        for (const std::string& m : v.Members) ShortString(m);
        Byte(0);
        break;
      case vaList:
        Byte(vaList);
        for (const TFormValue& item : v.Items) Value(item);
        Byte(vaNull);
        break;
      case vaCollection:
        Byte(vaCollection);
        for (const TFormItem& item : v.Collection) {
          if (item.HasOrder) Integer(item.Order);
          Byte(vaList);
          for (const TFormProperty& p : item.Properties) Property(p);
          Byte(0);
        }
        Byte(vaNull);
        break;
      default:  // vaNull, vaFalse, vaTrue, vaNil carry no data
        Byte(v.Type);
    }
  }
};

}  // namespace

TFormObject ReadBinaryForm(const std::string& Data) { return BinaryReader(Data).ReadFile(); }

std::string WriteBinaryForm(const TFormObject& Root) {
  BinaryWriter w;
  w.Out = Signature;
  w.Object(Root);
  return w.Out;
}

bool IsBinaryForm(const std::string& Data) {
  return Data.compare(0, 4, Signature) == 0 || Data.compare(0, 3, "\xFF\x0A\x00", 3) == 0;
}

void DoubleToExtended(double Value, std::uint8_t Out[10]) {
  std::uint64_t mantissa = 0;
  unsigned exponent = 0;
  if (Value != 0) {
    int e;
    double m = std::frexp(std::fabs(Value), &e);  // Value = m * 2^e, 0.5 <= m < 1
    mantissa = static_cast<std::uint64_t>(std::ldexp(m, 64));
    exponent = static_cast<unsigned>(e - 1 + 16383);
  }
  if (std::signbit(Value)) exponent |= 0x8000;
  for (int i = 0; i < 8; ++i) Out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
  Out[8] = static_cast<std::uint8_t>(exponent);
  Out[9] = static_cast<std::uint8_t>(exponent >> 8);
}

bool ExtendedToDouble(const std::uint8_t In[10], double& Value) {
  std::uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | In[i];
  unsigned exponent = In[8] | (In[9] & 0x7F) << 8;
  if (exponent == 0x7FFF) return false;
  // Exponents far outside a double's range would only give 0 or infinity;
  // clamp before ldexp so that no shift is undefined.
  int e = static_cast<int>(exponent) - 16383 - 63;
  if (e > 2000) return false;
  if (e < -2200) e = -2200;
  Value = std::ldexp(static_cast<double>(mantissa), e);
  if (In[9] & 0x80) Value = -Value;
  return std::isfinite(Value);
}
