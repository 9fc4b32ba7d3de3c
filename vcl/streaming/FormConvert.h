// Conversion between the two forms of a form file, with no knowledge of
// classes: every value is carried over as it stands.
#pragma once

#include "BinaryForm.h"
#include "TextForm.h"

// Reads either form, told apart by the first bytes.
TFormObject ReadForm(const std::string& Data);

std::string ObjectTextToBinary(const std::string& Text);
std::string ObjectBinaryToText(const std::string& Binary);
