// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Number-to-text and rounding rules shared by the drivers and the window.
// Texts never depend on the user's locale: the decimal point is always '.'.

// What a reading shows when it has no finite value (a logarithm of zero,
// a division by zero): never "inf" or "nan" posing as a number.
inline constexpr const char* kNotANumber = "n/a";

// Nearest integer, a half going to the even neighbour.
double RoundHalfEven(double x);
// x reduced to one decimal: x*10 to the nearest integer (half to even), /10.
float RoundTenth(double x);
// Nearest 16-bit integer, half to even, saturating at the type's ends.
int16_t ToInt16(double x);

// Upper-case hexadecimal without leading zeros; a negative number in 16-bit
// range gives four digits (-1 -> FFFF), otherwise eight.
std::string Hex(int64_t value);
// The same for a value that may have a fraction: rounded first.
std::string HexOf(double value);

// Shortest decimal form of a single-precision value: 25.3, 0, -1.5.
std::string SingleText(float value);
// Decimal form of a number, integers without a fraction: 12, -3.25.
std::string NumberText(double value);
// Decimal text with one leading blank when not negative: " 5", "-5".
std::string SignedText(double value);
// A single-precision value to 7 significant digits with a leading blank when
// not negative and no zero before the point: " .25", "-.25", " 12.5", " 0".
std::string SingleSignedText(float value);
// The "Scientific" format: two decimals, E, sign, two-digit exponent.
std::string Scientific(double value);
// The text with its ASCII letters in lower case (names and options are
// matched without regard to case).
std::string LowerCase(std::string text);
// The decimal number at the start of a text (blanks and a '+' skipped), read
// with a '.' point in any locale; 0 when the text does not start with one.
double ParseDecimal(std::string_view text);
// The number when the whole text is one to six decimal digits; -1 otherwise.
int WholeNumber(std::string_view text);
