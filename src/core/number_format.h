// The number forms of every file and message the system writes or reads.
// Nothing else formats numbers for files or messages: a decimal comma of the
// host never reaches a file, because std::to_chars is locale independent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestra {

// Standard number-to-text form: one blank before a non-negative number, a minus
// sign before a negative one, then the shortest decimal form with at most 7
// (32-bit float) or 15 (64-bit float) significant digits. Exponent form is used
// when the decimal exponent is below -4 or reaches the digit count ("1E+30",
// "1E-05", " 3.15576E+07"); a fraction has no leading zero (" .5").
std::string NumberText(float value);
std::string NumberText(double value);
std::string NumberText(std::int64_t value);
inline std::string NumberText(int value) { return NumberText(static_cast<std::int64_t>(value)); }
inline std::string NumberText(std::int16_t value) { return NumberText(static_cast<std::int64_t>(value)); }

// The same text without its leading blank.
std::string TrimmedNumberText(double value);
// The 32-bit form without its leading blank (HPGL coordinates).
std::string TrimmedFloatText(float value);

// General form of a 32-bit float in data files: the standard form without
// its leading blank and with a zero before a leading point ("0.5", "-0.25",
// "1E-05", "3.15576E+07").
std::string GeneralNumberText(float value);

// Leading-number parse: leading blanks and tabs skipped, then an optional sign,
// digits with an optional point, and an optional exponent (E or D). Whatever
// follows is ignored; text that does not start with a number gives 0.
double LeadingNumber(std::string_view text);

// Conversion to 16-bit and 32-bit integers: nearest integer, ties to even.
// Empty when the rounded value does not fit the type (or is not finite).
std::optional<std::int16_t> RoundToInt16(double value);
std::optional<std::int32_t> RoundToInt32(double value);

// Plain integer text for the "#####" and "###" masks.
std::string IntegerMaskText(std::int64_t value);

// The appending forms of the texts above, for files of millions of numbers:
// they write straight onto the end of `out`, with the same characters.
void AppendIntegerMaskText(std::string& out, std::int64_t value);
void AppendTrimmedNumberText(std::string& out, double value);
void AppendGeneralNumberText(std::string& out, float value);

// The writing forms, for records assembled in a buffer: each writes at `p`
// and returns the end of what it wrote, at most these many characters.
inline constexpr int kIntegerTextMax = 20;
inline constexpr int ScientificTextMax(int decimals) { return decimals + 8; }
char* WriteIntegerMaskText(char* p, std::int64_t value);
char* WriteScientificText(char* p, double value, int decimals);

// Fortran edit descriptors of files read by Fortran-minded tools. Iw: the
// integer right-aligned in `width` characters. Ew.d: "0.", `digits` digits,
// "E", the exponent's sign and at least two digits, right-aligned in
// `width` ("  0.1200000000E+03" for E18.10 of 120); 0 and non-finite values
// give "0.000...E+00". A text longer than the width is written whole.
void AppendFortranInteger(std::string& out, std::int64_t value, int width);
void AppendFortranExponent(std::string& out, double value, int width, int digits);
// Their writing forms, at most these many characters.
inline constexpr int FortranIntegerTextMax(int width) { return width > kIntegerTextMax ? width : kIntegerTextMax; }
inline constexpr int FortranExponentTextMax(int width, int digits) { return width > digits + 8 ? width : digits + 8; }
char* WriteFortranInteger(char* p, std::int64_t value, int width);
char* WriteFortranExponent(char* p, double value, int width, int digits);

// Scientific masks "0.000E+00" (3 decimals), "0.0000E+00" (4) and
// "0.00000000000E+00" (11): one mantissa digit, the given decimals, "E", an
// exponent sign always, at least two exponent digits. A minus sign leads a
// negative number; nothing leads a positive one.
std::string ScientificText(double value, int decimals);

// The 15-character value text of the result exports: " 1.2500000E+01 " for a
// value of 0 or more, "-1.2300000E-03 " for a negative one.
std::string ExportValueText(double value);

// Contour label number: style 0 is the fixed mask "##########0." followed by
// `decimals` zeros ("12." with none), style 1 the mask "0." followed by
// `decimals` zeros and "E+00".
std::string ContourLabelNumber(double value, int style, int decimals);

}  // namespace kestra
