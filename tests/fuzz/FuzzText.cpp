// Any text: either a form or a read error, never a crash or a read past the end.
#include "vcl/streaming/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  try {
    ReadTextForm(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const EReadError&) {
  }
  return 0;
}
