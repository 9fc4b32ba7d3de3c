// The binary form of a form file: the signature TPF0, then the root
// component. Bytes travel in std::string.
#pragma once

#include "FormData.h"

// Reads the root component. A 16-bit resource header (FF 0A 00, the class
// name, 30 10, a 4-byte size) before the signature is accepted. Raises
// EReadError naming the byte offset of what is wrong.
TFormObject ReadBinaryForm(const std::string& Data);
std::string WriteBinaryForm(const TFormObject& Root);

// True when Data starts as a binary form file (signature or resource header).
bool IsBinaryForm(const std::string& Data);

// 80-bit extended floats, little-endian, to and from double. Decoding raises
// EReadError for infinities, NaNs and values beyond a double.
void DoubleToExtended(double Value, std::uint8_t Out[10]);
bool ExtendedToDouble(const std::uint8_t In[10], double& Value);
