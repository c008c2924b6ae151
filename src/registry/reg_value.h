// A registry value as the program's callers see it: empty, a text or a
// signed 32-bit integer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qel {

class RegValue {
 public:
  enum class Kind { Empty, Text, Integer };

  RegValue() = default;
  static RegValue FromText(std::string text);
  static RegValue FromInteger(std::int32_t value);

  Kind kind() const { return kind_; }
  bool empty() const { return kind_ == Kind::Empty; }
  // The text, the decimal digits of the integer, or the empty text.
  std::string TextForm() const;
  // The integer, or the text when it is a plain decimal 32-bit integer.
  std::optional<std::int32_t> AsInteger() const;

 private:
  Kind kind_ = Kind::Empty;
  std::string text_;
  std::int32_t integer_ = 0;
};

// "123", "-5": an optional minus and digits, within 32 bits; nothing else.
std::optional<std::int32_t> ParseDecimalInt32(const std::string& text);

}  // namespace qel
