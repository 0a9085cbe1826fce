#pragma once
// Number and text conversions shared by the whole program.
#include <cstdint>
#include <string>
#include <string_view>

namespace penvox::numbers {

// Whole numbers print in plain decimal ("838", "-5", "100000000000000000000"),
// every digit of the double as "%.0f" prints it, and -0 as "0"; fractions
// print as C's "%.13g" in the C locale ("0.3", "1.234567890123e-05").
// Infinity and NaN print as "inf", "-inf" and "nan" (whatever NaN's sign), as
// "%g" does. Independent of the process locale.
std::string format(double value);
std::string format(std::int64_t value);

// Folds full-width digits, signs and letters (U+FF01..U+FF5E) and the
// ideographic space to ASCII. Input and output are the program's GBK bytes.
std::string foldFullWidth(std::string_view gbkText);

// Text to number: full-width forms folded, leading blanks skipped, then the
// longest leading decimal number as atof reads it (sign, digits, fraction,
// exponent; no hexadecimal, no "inf" or "nan"); 0 when there is none.
// Independent of the process locale.
double toNumber(std::string_view gbkText);

// toNumber cut toward zero and clamped to the 64-bit range (NaN gives 0).
std::int64_t toInteger(std::string_view gbkText);

}  // namespace penvox::numbers
