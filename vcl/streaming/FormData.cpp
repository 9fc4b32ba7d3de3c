#include "FormData.h"


std::string TFormPos::Text() const {
  return (Binary ? " at byte " : " on line ") + std::to_string(At);
}

// Written out: clang 14 crashes on a defaulted comparison of this recursive type.
bool TFormValue::operator==(const TFormValue& o) const {
  return Type == o.Type && Int == o.Int && Float == o.Float && Str == o.Str && Ident == o.Ident &&
         Members == o.Members && Bytes == o.Bytes && Items == o.Items && Collection == o.Collection;
}

bool TFormItem::operator==(const TFormItem& o) const {
  return HasOrder == o.HasOrder && Order == o.Order && Properties == o.Properties;
}

namespace {
bool IdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IdentChar(char c) { return IdentStart(c) || (c >= '0' && c <= '9'); }
}  // namespace

bool IsFormIdent(const std::string& s, bool Dotted) {
  bool partStart = true;
  for (char c : s) {
    if (partStart) {
      if (!IdentStart(c)) return false;
      partStart = false;
    } else if (c == '.' && Dotted) {
      partStart = true;
    } else if (!IdentChar(c)) {
      return false;
    }
  }
  return !partStart;
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool IsFormKeyword(const std::string& s) {
  for (const char* k : {"object", "inherited", "inline", "end"})
    if (SameText(s, k)) return true;
  return false;
}

bool Utf8ToUtf16(const std::string& in, std::u16string& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size();) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || in.size() - i <= static_cast<std::size_t>(extra)) return false;
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      unsigned char t = static_cast<unsigned char>(in[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    static const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (cp < least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += extra + 1;
  }
  return true;
}

std::string Utf16ToUtf8(const std::u16string& in) {
  std::string out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[++i] - 0xDC00);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}
