#include "TextForm.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

enum TTokenKind { tkEof, tkSymbol, tkIdent, tkString, tkNumber };

struct TToken {
  TTokenKind Kind = tkEof;
  char Symbol = 0;
  std::string Text;  // identifier, or the number as written
  std::u16string Str;
  bool IsFloat = false;
  char Suffix = 0;  // s, c, d or f after a float
  std::size_t Line = 1;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || IsDigit(c);
}
int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

class TextReader {
 public:
  explicit TextReader(const std::string& s) : s_(s) {}

  TFormObject ReadFile() {
    Next();
    TFormObject root = ReadObject(0);
    if (tok_.Kind != tkEof) Error("End of file expected");
    return root;
  }

 private:
  [[noreturn]] void Error(const std::string& what) { ErrorAt(what, tok_.Line); }
  [[noreturn]] void ErrorAt(const std::string& what, std::size_t line) {
    throw EReadError(what + TFormPos{false, line}.Text());
  }
  bool AtEnd() const { return pos_ >= s_.size(); }
  char Char() const { return AtEnd() ? '\0' : s_[pos_]; }
  char CharAt(std::size_t i) const { return i < s_.size() ? s_[i] : '\0'; }

  void SkipBlanks() {
    while (!AtEnd()) {
      char c = s_[pos_];
      if (c == '\n') ++line_;
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return;
      ++pos_;
    }
  }

  void Next() {
    SkipBlanks();
    tok_ = TToken();
    tok_.Line = line_;
    if (AtEnd()) return;
    char c = s_[pos_];
    if (IsIdentChar(c) && !IsDigit(c)) return ReadIdent();
    if (c == '\'' || c == '#') return ReadString();
    if (IsDigit(c) || c == '$' || ((c == '-' || c == '+') && IsDigit(CharAt(pos_ + 1))))
      return ReadNumber();
    tok_.Kind = tkSymbol;
    tok_.Symbol = c;
    ++pos_;
  }

  void ReadIdent() {
    std::size_t start = pos_;
    while (IsIdentChar(Char()) || Char() == '.') ++pos_;
    tok_.Kind = tkIdent;
    tok_.Text = s_.substr(start, pos_ - start);
    if (!IsFormIdent(tok_.Text, true)) Error("Invalid identifier " + tok_.Text);
  }

  void ReadString() {
    tok_.Kind = tkString;
    while (Char() == '\'' || Char() == '#') {
      if (Char() == '#') {
        ++pos_;
        ReadCharCode();
        continue;
      }
      ++pos_;
      for (;;) {
        if (AtEnd() || Char() == '\n' || Char() == '\r') Error("Unterminated string");
        char ch = s_[pos_++];
        if (ch == '\'') {
          if (Char() != '\'') break;
          ++pos_;
        }
        tok_.Str += static_cast<char16_t>(static_cast<unsigned char>(ch));
      }
    }
  }

  // #65 or #$41: one UTF-16 code unit.
  void ReadCharCode() {
    bool hex = Char() == '$';
    if (hex) ++pos_;
    unsigned long code = 0;
    std::size_t digits = 0;
    for (; digits < 8; ++digits, ++pos_) {
      int d = hex ? HexDigit(Char()) : IsDigit(Char()) ? Char() - '0' : -1;
      if (d < 0) break;
      code = code * (hex ? 16 : 10) + d;
    }
    if (digits == 0 || code > 0xFFFF || (hex ? HexDigit(Char()) : IsDigit(Char()) ? 0 : -1) >= 0)
      Error("Invalid string constant");
    tok_.Str += static_cast<char16_t>(code);
  }

  void ReadNumber() {
    std::size_t start = pos_;
    tok_.Kind = tkNumber;
    if (Char() == '$') {
      ++pos_;
      while (HexDigit(Char()) >= 0) ++pos_;
    } else {
      if (Char() == '-' || Char() == '+') ++pos_;
      while (IsDigit(Char())) ++pos_;
      if (Char() == '.' && IsDigit(CharAt(pos_ + 1))) {
        tok_.IsFloat = true;
        for (++pos_; IsDigit(Char());) ++pos_;
      }
      if ((Char() == 'e' || Char() == 'E') &&
          (IsDigit(CharAt(pos_ + 1)) ||
           ((CharAt(pos_ + 1) == '-' || CharAt(pos_ + 1) == '+') && IsDigit(CharAt(pos_ + 2))))) {
        tok_.IsFloat = true;
        pos_ += 2;
        while (IsDigit(Char())) ++pos_;
      }
      char suffix = Char();
      if (std::strchr("sScCdDfF", suffix) && suffix && !IsIdentChar(CharAt(pos_ + 1))) {
        tok_.IsFloat = true;
        tok_.Suffix = static_cast<char>(suffix | 0x20);
        ++pos_;
      }
    }
    tok_.Text = s_.substr(start, pos_ - start - (tok_.Suffix ? 1 : 0));
    if (IsIdentChar(Char())) Error("Invalid number");
  }

  bool IsSymbol(char c) const { return tok_.Kind == tkSymbol && tok_.Symbol == c; }
  bool IsWord(const char* w) const { return tok_.Kind == tkIdent && SameText(tok_.Text, w); }
  bool IsObjectStart() const { return IsWord("object") || IsWord("inherited") || IsWord("inline"); }
  void Expect(char c) {
    if (!IsSymbol(c)) Error(std::string("'") + c + "' expected");
    Next();
  }
  std::string Ident(bool dotted) {
    if (tok_.Kind != tkIdent || (!dotted && tok_.Text.find('.') != std::string::npos))
      Error("Identifier expected");
    std::string s = tok_.Text;
    Next();
    return s;
  }
  void Nest(int depth) {
    if (depth > MaxFormNesting) Error("Nesting too deep");
  }

  std::int64_t Integer() {
    if (tok_.Kind != tkNumber || tok_.IsFloat) Error("Integer expected");
    std::int64_t v = ParseInteger(tok_.Text);
    Next();
    return v;
  }

  std::int64_t ParseInteger(const std::string& text) {
    const char* b = text.data();
    const char* e = b + text.size();
    if (*b == '$') {
      std::uint64_t u;
      auto r = std::from_chars(b + 1, e, u, 16);
      if (r.ec != std::errc() || r.ptr != e) Error("Invalid number");
      return static_cast<std::int64_t>(u);
    }
    if (*b == '+') ++b;
    std::int64_t v;
    auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e) Error("Integer out of range");
    return v;
  }

  double ParseFloat(const std::string& text) {
    const char* b = text.data();
    if (*b == '+') ++b;
    double v;
    auto r = std::from_chars(b, text.data() + text.size(), v);
    if (r.ec != std::errc() || !std::isfinite(v)) Error("Invalid floating point value");
    return v;
  }

  TFormObject ReadObject(int depth) {
    Nest(depth);
    if (!IsObjectStart()) Error("'object' expected");
    TFormObject o;
    o.Pos = {false, tok_.Line};
    o.Flags = IsWord("inherited") ? ffInherited : IsWord("inline") ? ffInline : 0u;
    Next();
    std::string first = Ident(false);
    if (IsSymbol(':')) {
      Next();
      o.Name = first;
      o.ClassName = Ident(false);
    } else {
      o.ClassName = first;
    }
    if (IsSymbol('[')) {
      Next();
      o.Flags |= ffChildPos;
      o.ChildPos = Integer();
      Expect(']');
    }
    while (tok_.Kind == tkIdent && !IsObjectStart() && !IsWord("end"))
      o.Properties.push_back(ReadProperty(depth));
    while (IsObjectStart()) o.Children.push_back(ReadObject(depth + 1));
    if (!IsWord("end")) Error("'end' expected");
    Next();
    return o;
  }

  TFormProperty ReadProperty(int depth) {
    TFormProperty p;
    p.Pos = {false, tok_.Line};
    p.Name = tok_.Text;
    if (IsFormKeyword(p.Name)) Error("'end' expected");
    Next();
    Expect('=');
    p.Value = ReadValue(depth);
    return p;
  }

  TFormValue ReadValue(int depth) {
    TFormValue v;
    switch (tok_.Kind) {
      case tkNumber:
        ReadNumberValue(v);
        Next();
        return v;
      case tkString:
        v.Type = vaString;
        v.Str = tok_.Str;
        Next();
        while (IsSymbol('+')) {
          Next();
          if (tok_.Kind != tkString) Error("String expected");
          v.Str += tok_.Str;
          Next();
        }
        return v;
      case tkIdent:
        if (IsFormKeyword(tok_.Text)) Error("Value expected");
        ReadIdentValue(v);
        Next();
        return v;
      case tkSymbol:
        break;
      case tkEof:
        Error("Value expected");
    }
    switch (tok_.Symbol) {
      case '[':
        v.Type = vaSet;
        Next();
        while (!IsSymbol(']')) {
          v.Members.push_back(Ident(false));
          if (IsSymbol(',')) Next();
          else if (!IsSymbol(']')) Error("']' expected");
        }
        Next();
        return v;
      case '(':
        Nest(depth + 1);
        v.Type = vaList;
        Next();
        while (!IsSymbol(')')) {
          if (tok_.Kind == tkEof) Error("')' expected");
          v.Items.push_back(ReadValue(depth + 1));
        }
        Next();
        return v;
      case '{':
        v.Type = vaBinary;
        ReadBinaryData(v.Bytes);
        Next();
        return v;
      case '<':
        Nest(depth + 1);
        v.Type = vaCollection;
        Next();
        while (!IsSymbol('>')) v.Collection.push_back(ReadItem(depth + 1));
        Next();
        return v;
    }
    Error("Value expected");
  }

  void ReadNumberValue(TFormValue& v) {
    static const struct {
      char Suffix;
      TValueType Type;
    } kinds[] = {{0, vaExtended}, {'s', vaSingle}, {'d', vaDate}, {'f', vaDouble}, {'c', vaCurrency}};
    if (!tok_.IsFloat) {
      v.Type = vaInt64;
      v.Int = ParseInteger(tok_.Text);
      return;
    }
    for (const auto& k : kinds)
      if (k.Suffix == tok_.Suffix) v.Type = k.Type;
    if (v.Type == vaCurrency) {
      v.Int = CurrencyTicks(tok_.Text);
      return;
    }
    v.Float = ParseFloat(tok_.Text);
    if (v.Type == vaSingle) {
      if (std::fabs(v.Float) > 3.4028234663852886e38) Error("Invalid floating point value");
      v.Float = static_cast<float>(v.Float);
    }
  }

  // Currency is written as its count of ten-thousandths.
  std::int64_t CurrencyTicks(const std::string& text) {
    if (text.find_first_of(".eE") == std::string::npos) return ParseInteger(text);
    double f = std::nearbyint(ParseFloat(text));
    if (!(f >= -9.2233720368547758e18 && f < 9.2233720368547758e18)) Error("Invalid floating point value");
    return static_cast<std::int64_t>(f);
  }

  void ReadIdentValue(TFormValue& v) {
    static const struct {
      const char* Word;
      TValueType Type;
    } words[] = {{"False", vaFalse}, {"True", vaTrue}, {"nil", vaNil}, {"Null", vaNull}};
    for (const auto& w : words)
      if (SameText(tok_.Text, w.Word)) {
        v.Type = w.Type;
        return;
      }
    v.Type = vaIdent;
    v.Ident = tok_.Text;
  }

  // Hex digit pairs up to '}', across lines; the current token is '{'.
  void ReadBinaryData(std::vector<std::uint8_t>& out) {
    int high = -1;
    for (;;) {
      SkipBlanks();
      char c = Char();
      if (c == '}') break;
      int d = HexDigit(c);
      if (d < 0) ErrorAt("Invalid binary value", line_);
      ++pos_;
      if (high < 0) {
        high = d;
      } else {
        out.push_back(static_cast<std::uint8_t>(high << 4 | d));
        high = -1;
      }
    }
    if (high >= 0) ErrorAt("Invalid binary value", line_);
    ++pos_;
  }

  TFormItem ReadItem(int depth) {
    if (!IsWord("item")) Error("'item' expected");
    Next();
    TFormItem item;
    if (IsSymbol('[')) {
      Next();
      item.HasOrder = true;
      item.Order = Integer();
      // The binary form tells an order from the item by its 8-32-bit code.
      if (item.Order < INT32_MIN || item.Order > INT32_MAX) Error("Integer out of range");
      Expect(']');
    }
    while (tok_.Kind == tkIdent && !IsWord("end")) item.Properties.push_back(ReadProperty(depth));
    if (!IsWord("end")) Error("'end' expected");
    Next();
    return item;
  }

  const std::string& s_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  TToken tok_;
};

const int LineLength = 64;
const int BytesPerLine = 32;

class TextWriter {
 public:
  std::string Out;

  void Object(const TFormObject& o, int level) {
    Indent(level);
    Out += o.Flags & ffInherited ? "inherited " : o.Flags & ffInline ? "inline " : "object ";
    if (!o.Name.empty()) Out += o.Name + ": ";
    Out += o.ClassName;
    if (o.Flags & ffChildPos) Out += " [" + std::to_string(o.ChildPos) + "]";
    Out += "\r\n";
    Properties(o.Properties, level + 1);
    for (const TFormObject& c : o.Children) Object(c, level + 1);
    Indent(level);
    Out += "end\r\n";
  }

 private:
  void Indent(int level) { Out.append(2 * level, ' '); }
  void NewLine(int level) {
    Out += "\r\n";
    Indent(level);
  }
  void Properties(const std::vector<TFormProperty>& props, int level) {
    for (const TFormProperty& p : props) {
      Indent(level);
      Out += p.Name + " = ";
      Value(p.Value, level);
      Out += "\r\n";
    }
  }

  void Value(const TFormValue& v, int level) {
    switch (v.Type) {
      case vaInt8: case vaInt16: case vaInt32: case vaInt64:
        Out += std::to_string(v.Int);
        return;
      case vaExtended:
        Out += FormFloatText(v.Float);
        return;
      case vaSingle:
        Out += FormFloatText(v.Float) + "s";
        return;
      case vaDate:
        Out += FormFloatText(v.Float) + "d";
        return;
      case vaDouble:
        Out += FormFloatText(v.Float) + "f";
        return;
      case vaCurrency:
        Out += std::to_string(v.Int) + "c";
        return;
      case vaString: case vaLString: case vaWString: case vaUTF8String:
        String(v.Str, level);
        return;
      case vaIdent:
        Out += v.Ident;
        return;
      case vaFalse:
        Out += "False";
        return;
      case vaTrue:
        Out += "True";
        return;
      case vaNil:
        Out += "nil";
        return;
      case vaNull:
        Out += "Null";
        return;
      case vaSet:
        Set(v.Members);
        return;
      case vaList:
        Out += "(";
        for (const TFormValue& item : v.Items) {
          NewLine(level + 1);
          Value(item, level + 1);
        }
        Out += ")";
        return;
      case vaBinary:
        Binary(v.Bytes, level);
        return;
      case vaCollection:
        Collection(v.Collection, level);
        return;
    }
  }

  void Set(const std::vector<std::string>& members) {
    Out += "[";
    for (std::size_t i = 0; i < members.size(); ++i) Out += (i ? ", " : "") + members[i];
    Out += "]";
  }

  void Binary(const std::vector<std::uint8_t>& bytes, int level) {
    static const char hex[] = "0123456789ABCDEF";
    Out += "{";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (i % BytesPerLine == 0) NewLine(level + 1);
      Out += hex[bytes[i] >> 4];
      Out += hex[bytes[i] & 15];
    }
    Out += "}";
  }

  void Collection(const std::vector<TFormItem>& items, int level) {
    Out += "<";
    for (const TFormItem& item : items) {
      NewLine(level + 1);
      Out += "item";
      if (item.HasOrder) Out += " [" + std::to_string(item.Order) + "]";
      Out += "\r\n";
      Properties(item.Properties, level + 2);
      Indent(level + 1);
      Out += "end";
    }
    Out += ">";
  }

  // Printable ASCII in quotes, anything else as #n; past 64 characters the
  // value starts on the next line and goes on in chunks joined by " +".
  void String(const std::u16string& s, int level) {
    if (s.empty()) {
      Out += "''";
      return;
    }
    if (s.size() > LineLength) NewLine(level + 1);
    std::size_t i = 0, lineStart = 0;
    while (i < s.size()) {
      if (Printable(s[i])) {
        Out += '\'';
        while (i < s.size() && Printable(s[i]) && i - lineStart < LineLength)
          Out += static_cast<char>(s[i++]);
        Out += '\'';
      } else {
        Out += '#';
        Out += std::to_string(static_cast<unsigned>(s[i++]));
      }
      if (i - lineStart >= LineLength && i < s.size()) {
        Out += " +";
        NewLine(level + 1);
        lineStart = i;
      }
    }
  }
  static bool Printable(char16_t c) { return c >= 32 && c <= 126 && c != '\''; }
};

}  // namespace

TFormObject ReadTextForm(const std::string& Text) { return TextReader(Text).ReadFile(); }

std::string WriteTextForm(const TFormObject& Root) {
  TextWriter w;
  w.Object(Root, 0);
  return w.Out;
}

std::string FormFloatText(double Value) {
  if (!std::isfinite(Value)) throw EWriteError("Invalid floating point value");
  char buf[64];
  // d.ddddddddddddddde[+-]x: 16 significant digits, correctly rounded.
  auto r = std::to_chars(buf, buf + sizeof buf, Value, std::chars_format::scientific, 15);
  std::string sci(buf, r.ptr);
  bool negative = sci[0] == '-';
  std::size_t e = sci.find('e');
  std::string digits = sci.substr(negative, 1) + sci.substr(negative + 2, e - negative - 2);
  int exponent = std::atoi(sci.c_str() + e + 1);
  if (Value == 0) exponent = 0;
  std::string out(negative ? 1 : 0, '-');
  if (exponent >= -3 && exponent < 18) {
    // Place the 16 digits around the point, then pad to 18 decimals.
    std::string whole = exponent >= 0 ? digits.substr(0, exponent + 1) : "0";
    if (exponent >= 0 && whole.size() < static_cast<std::size_t>(exponent + 1))
      whole.append(exponent + 1 - whole.size(), '0');
    std::string fraction = exponent >= 0 ? (static_cast<std::size_t>(exponent + 1) < digits.size()
                                                ? digits.substr(exponent + 1)
                                                : "")
                                         : std::string(-exponent - 1, '0') + digits;
    fraction.resize(18, '0');
    out += whole;
    out += '.';
    return out + fraction;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  out += digits.substr(0, 1);
  if (digits.size() > 1) {
    out += '.';
    out += digits.substr(1);
  }
  out += 'E';
  return out + std::to_string(exponent);
}
