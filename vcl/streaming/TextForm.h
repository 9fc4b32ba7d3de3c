// The text form of a form file, as form designers write it:
//   object Name: TClass ... end, two spaces of indent per level,
// properties before children, CRLF line ends.
#pragma once

#include "FormData.h"

// Reads the root component. Raises EReadError naming the line of what is
// wrong ("'=' expected on line 4").
TFormObject ReadTextForm(const std::string& Text);
// Raises EWriteError for what text cannot hold (a float that is not finite).
std::string WriteTextForm(const TFormObject& Root);

// A float as text: fixed with 18 decimals from at most 16 significant digits
// (1.0 is 1.000000000000000000); a value too large or too small for that
// goes in exponent form (1.5E-7), so that no value is lost.
std::string FormFloatText(double Value);
