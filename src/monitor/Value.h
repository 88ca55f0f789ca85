// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <type_traits>

#include "numbers/Format.h"

// A driver reading: a number, a text, or the empty value that holds nothing.
// The window reads the empty value as 0 where it needs a number and as empty
// text where it shows text.
class Value {
 public:
  Value() = default;
  template <typename T, typename = std::enable_if_t<std::is_arithmetic_v<T>>>
  Value(T number)  // NOLINT: readings convert implicitly
      : kind_(Kind::Number), number_(double(number)), single_(std::is_same_v<T, float>) {}
  Value(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}  // NOLINT
  Value(const char* text) : Value(std::string(text)) {}                   // NOLINT

  bool IsEmpty() const { return kind_ == Kind::Empty; }
  bool IsText() const { return kind_ == Kind::Text; }

  double Number() const {
    if (kind_ == Kind::Number) return number_;
    if (kind_ == Kind::Text) return ParseDecimal(text_);
    return 0;
  }

  std::string Text() const {
    if (kind_ == Kind::Text) return text_;
    if (kind_ == Kind::Empty) return "";
    return single_ ? SingleText(float(number_)) : NumberText(number_);
  }

  // Hexadecimal text of the number (empty text for the empty value).
  std::string HexText() const { return kind_ == Kind::Empty ? "" : HexOf(Number()); }

 private:
  enum class Kind { Empty, Number, Text };
  Kind kind_ = Kind::Empty;
  double number_ = 0;
  bool single_ = false;
  std::string text_;
};
