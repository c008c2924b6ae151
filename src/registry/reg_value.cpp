#include "registry/reg_value.h"

#include <utility>

namespace qel {

RegValue RegValue::FromText(std::string text) {
  RegValue v;
  v.kind_ = Kind::Text;
  v.text_ = std::move(text);
  return v;
}

RegValue RegValue::FromInteger(std::int32_t value) {
  RegValue v;
  v.kind_ = Kind::Integer;
  v.integer_ = value;
  return v;
}

std::string RegValue::TextForm() const {
  switch (kind_) {
    case Kind::Text: return text_;
    case Kind::Integer: return std::to_string(integer_);
    case Kind::Empty: break;
  }
  return {};
}

std::optional<std::int32_t> RegValue::AsInteger() const {
  if (kind_ == Kind::Integer) return integer_;
  if (kind_ == Kind::Text) return ParseDecimalInt32(text_);
  return std::nullopt;
}

std::optional<std::int32_t> ParseDecimalInt32(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  if (i == text.size() || text.size() - i > 10) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace qel
