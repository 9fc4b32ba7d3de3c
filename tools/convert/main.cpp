// dfmconvert: converts a form file between its text and binary forms.
//   dfmconvert IN OUT        the other form of IN, told apart by its first bytes
//   dfmconvert -t IN OUT     text, whatever IN is
//   dfmconvert -b IN OUT     binary, whatever IN is
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "vcl/streaming/FormConvert.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: dfmconvert [-t | -b] IN OUT\n");
  return 2;
}

bool ReadFile(const char* name, std::string& data) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  data = s.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  char want = 0;
  int first = 1;
  if (argc == 4 && (!std::strcmp(argv[1], "-t") || !std::strcmp(argv[1], "-b"))) {
    want = argv[1][1];
    first = 2;
  } else if (argc != 3) {
    return Usage();
  }
  const char* inName = argv[first];
  const char* outName = argv[first + 1];
  std::string data;
  if (!ReadFile(inName, data)) {
    std::fprintf(stderr, "dfmconvert: cannot open %s\n", inName);
    return 1;
  }
  try {
    TFormObject form = ReadForm(data);
    if (!want) want = IsBinaryForm(data) ? 't' : 'b';
    std::string out = want == 't' ? WriteTextForm(form) : WriteBinaryForm(form);
    std::ofstream file(outName, std::ios::binary);
    if (!file.write(out.data(), out.size())) {
      std::fprintf(stderr, "dfmconvert: cannot write %s\n", outName);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dfmconvert: %s: %s\n", inName, e.what());
    return 1;
  }
  return 0;
}
