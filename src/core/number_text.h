// Text forms of numbers, independent of the machine's locale: the decimal
// point is always "." and no digit grouping is ever inserted.
#pragma once

#include <string>

namespace makenc {

// The text form of a double: at most 15 significant digits, no trailing
// zeros, no point for whole values, "0" for both zeros, a leading "0" before
// the point, and exponent form ("1E-20", "1.5E+15") for magnitudes below
// 1E-4 or from 1E15 on.
std::string double_text(double v);

// The same for a single-precision value with at most 7 significant digits
// (exponent form from 1E7 on).
std::string single_text(float v);

// Shortest plain decimal text of v rounded to at most `digits` significant
// digits, never in exponent form (for machine words).
std::string plain_decimal_text(double v, int digits);

// Appends plain_decimal_text(v, 7) of a single-precision value to `out`:
// the text of a machine word, made without a string of its own.
void append_single_plain_text(std::string& out, float v);

// v with exactly `decimals` digits after the point, never in exponent form
// (for lengths a person reads and other programs parse).
std::string fixed_text(double v, int decimals);

}  // namespace makenc
