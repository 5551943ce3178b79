#pragma once
// Text primitives: byte strings in the ANSI code page (GBK), positions from 1,
// -1 for a failed search, double-byte aware where noted. None of them fails:
// every argument outside the normal range has a defined result.
//
// Optional arguments are std::optional: an omitted argument (std::nullopt)
// and a given one are different cases, and a given 0 is not the default.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumigrab {

// A byte string in the ANSI code page; the empty text is a valid value.
using Text = std::string;
// A counted byte string that may hold zero bytes.
using Bytes = std::vector<std::uint8_t>;

// Spells out an omitted optional argument at a call site.
inline constexpr std::nullopt_t kOmitted = std::nullopt;

// A list of texts addressed from 1. Indexing outside 1..Count() is a fatal
// internal error, so callers check the count first (or use range-for).
class TextArray {
 public:
  TextArray() = default;
  TextArray(std::initializer_list<Text> items) : items_(items) {}
  explicit TextArray(std::vector<Text> items) : items_(std::move(items)) {}

  int Count() const { return static_cast<int>(items_.size()); }
  const Text& operator[](int index) const;
  Text& operator[](int index);
  void Add(Text item) { items_.push_back(std::move(item)); }

  const std::vector<Text>& Items() const { return items_; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  bool operator==(const TextArray& other) const = default;

 private:
  std::vector<Text> items_;
};

int TextLength(std::string_view text);

// The texts one after another.
template <typename... Texts>
Text JoinTexts(std::string_view first, const Texts&... rest) {
  Text out(first);
  (out.append(std::string_view(rest)), ...);
  return out;
}

// -1, 0 or 1, comparing unsigned bytes; a proper prefix is the smaller.
int CompareTexts(std::string_view a, std::string_view b);

// Double-byte aware. Start omitted or <= 0 means 1.
int FindText(std::string_view text, std::string_view sought,
             std::optional<int> start, bool ignoreCase);

// Byte-based, backwards: with a start position P only matches that end at or
// before byte P are found.
int FindTextReverse(std::string_view text, std::string_view sought,
                    std::optional<int> start, bool ignoreCase);

// Double-byte aware. Replacement omitted: matches are deleted. Start omitted:
// 1 (a given start <= 0 leaves the text unchanged). Count omitted: unlimited.
Text ReplaceText(std::string_view text, std::string_view sought,
                 std::optional<std::string_view> replacement,
                 std::optional<int> start, std::optional<int> count,
                 bool caseSensitive);

// Double-byte aware, exact. Delimiter omitted: ",". A trailing delimiter
// gives no empty last element.
TextArray SplitText(std::string_view text,
                    std::optional<std::string_view> delimiter = kOmitted,
                    std::optional<int> maximumParts = kOmitted);

// Byte-based cuts: they can split a double-byte character.
Text LeftText(std::string_view text, int n);
Text RightText(std::string_view text, int n);
Text MidText(std::string_view text, int start, int n);

// ASCII spaces and full-width spaces (A1 A1).
Text TrimText(std::string_view text);
Text RemoveSpaces(std::string_view text);

// ASCII letters only; double-byte characters are copied untouched.
Text ToLowerText(std::string_view text);
Text ToUpperText(std::string_view text);

Text ToText(std::int32_t value);
Text ToText(std::int16_t value);
Text ToText(std::uint8_t value);
Text ToText(std::int64_t value);
// A truth value: "真" or "假".
Text ToText(bool value);
// Six decimals, trailing zeros and a bare point removed.
Text ToText(double value);
Text ToText(std::string_view value);
Text ToText(const char* value);
// The bytes up to the first zero byte.
Text ToText(const Bytes& value);

// Full-width forms count as ASCII; digits past 32 bits wrap around.
std::int32_t ToInteger(std::string_view text);
std::int32_t ToInteger(const char* text);
std::int32_t ToInteger(double value);
std::int32_t ToInteger(std::int64_t value);
std::int32_t ToInteger(std::int32_t value);
std::int32_t ToInteger(std::uint8_t value);

Text CharText(int code);
Text SpaceText(int n);
// Unsigned 32-bit, upper-case digits, no leading zeros.
Text HexText(std::int32_t value);

Bytes TextToBytes(std::string_view text);
Bytes TextToBytes(const char* text);
Bytes TextToBytes(std::int32_t value);
Bytes TextToBytes(std::int16_t value);
Bytes TextToBytes(std::uint8_t value);
Bytes TextToBytes(double value);
Text BytesToText(const Bytes& bytes);
int BytesLength(const Bytes& bytes);

template <typename... Ints>
std::int32_t BitOr(std::int32_t a, std::int32_t b, Ints... rest) {
  return static_cast<std::int32_t>(((a | b) | ... | static_cast<std::int32_t>(rest)));
}
template <typename... Ints>
std::int32_t BitAnd(std::int32_t a, std::int32_t b, Ints... rest) {
  return static_cast<std::int32_t>(((a & b) & ... & static_cast<std::int32_t>(rest)));
}
template <typename... Ints>
std::int32_t BitXor(std::int32_t a, std::int32_t b, Ints... rest) {
  return static_cast<std::int32_t>(((a ^ b) ^ ... ^ static_cast<std::int32_t>(rest)));
}

// Arithmetic shift by the count modulo 32.
std::int32_t ShiftRight(std::int32_t value, int count);

double Power(double base, std::initializer_list<double> exponents);

std::uint8_t ToByte(std::string_view text);
std::uint8_t ToByte(const char* text);
std::uint8_t ToByte(std::int32_t value);
std::uint8_t ToByte(double value);

}  // namespace lumigrab
