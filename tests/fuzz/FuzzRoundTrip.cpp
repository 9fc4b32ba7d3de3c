// Whatever reads (text or binary) converts both ways without loss: binary
// gives back the very same form, and text the same form with floats as
// close as 16 significant digits allow.
#include <cmath>
#include <cstdlib>

#include "vcl/streaming/FormConvert.h"

namespace {

bool Near(const TFormValue& a, const TFormValue& b);

bool Near(const std::vector<TFormProperty>& a, const std::vector<TFormProperty>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].Name != b[i].Name || !Near(a[i].Value, b[i].Value)) return false;
  return true;
}

bool Near(const TFormValue& a, const TFormValue& b) {
  if (a.Type != b.Type || a.Int != b.Int || a.Str != b.Str || a.Ident != b.Ident ||
      a.Members != b.Members || a.Bytes != b.Bytes || a.Items.size() != b.Items.size() ||
      a.Collection.size() != b.Collection.size())
    return false;
  if (std::fabs(a.Float - b.Float) > 1e-15 * std::fabs(a.Float) + 1e-300) return false;
  for (std::size_t i = 0; i < a.Items.size(); ++i)
    if (!Near(a.Items[i], b.Items[i])) return false;
  for (std::size_t i = 0; i < a.Collection.size(); ++i)
    if (a.Collection[i].HasOrder != b.Collection[i].HasOrder ||
        a.Collection[i].Order != b.Collection[i].Order ||
        !Near(a.Collection[i].Properties, b.Collection[i].Properties))
      return false;
  return true;
}

bool Near(const TFormObject& a, const TFormObject& b) {
  if (a.Flags != b.Flags || a.ChildPos != b.ChildPos || a.ClassName != b.ClassName ||
      a.Name != b.Name || !Near(a.Properties, b.Properties) || a.Children.size() != b.Children.size())
    return false;
  for (std::size_t i = 0; i < a.Children.size(); ++i)
    if (!Near(a.Children[i], b.Children[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  TFormObject form;
  try {
    form = ReadForm(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const EReadError&) {
    return 0;
  }
  std::string binary;
  try {
    binary = WriteBinaryForm(form);
  } catch (const EWriteError&) {
    return 0;  // a name longer than the binary form holds
  }
  if (!(ReadBinaryForm(binary) == form)) std::abort();
  if (!Near(ReadTextForm(WriteTextForm(form)), form)) std::abort();
  return 0;
}
