#include "FormConvert.h"

TFormObject ReadForm(const std::string& Data) {
  return IsBinaryForm(Data) ? ReadBinaryForm(Data) : ReadTextForm(Data);
}

std::string ObjectTextToBinary(const std::string& Text) { return WriteBinaryForm(ReadTextForm(Text)); }

std::string ObjectBinaryToText(const std::string& Binary) {
  return WriteTextForm(ReadBinaryForm(Binary));
}
