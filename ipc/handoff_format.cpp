#include "ipc/handoff_format.h"

#include <limits>

namespace lumigrab {
namespace {

// A decimal number with an optional leading minus, in 64 bits; nothing on
// any other byte or on overflow.
std::optional<std::int64_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 19) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  // 19 digits stay below 2^64; the sign decides the usable range.
  const std::uint64_t limit =
      negative ? std::uint64_t{1} << 63
               : static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (value > limit) return std::nullopt;
  return negative ? static_cast<std::int64_t>(0 - value)
                  : static_cast<std::int64_t>(value);
}

// A 32-bit sender writes addresses as signed 32-bit numbers; a 64-bit
// sender's user-mode addresses are never negative.
std::optional<std::uint64_t> AddressFromNumber(std::int64_t number) {
  if (number >= 0) return static_cast<std::uint64_t>(number);
  if (number < std::numeric_limits<std::int32_t>::min()) return std::nullopt;
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(number));
}

}  // namespace

Text DescriptorAddressText(std::uint64_t address, std::size_t pointerSize) {
  if (pointerSize <= 4) {
    return ToText(static_cast<std::int32_t>(static_cast<std::uint32_t>(address)));
  }
  return ToText(static_cast<std::int64_t>(address));
}

Text HandOffDescriptorText(std::uint64_t ackAddress, std::int32_t payloadLength,
                           std::uint64_t payloadAddress, std::size_t pointerSize) {
  return JoinTexts(DescriptorAddressText(ackAddress, pointerSize), "$",
                   ToText(payloadLength), "&",
                   DescriptorAddressText(payloadAddress, pointerSize));
}

Text HandOffWParamDigits(std::string_view ownProcessIdText, int descriptorLength) {
  return JoinTexts(ToText(static_cast<std::int32_t>(TextLength(ownProcessIdText))),
                   ownProcessIdText, ToText(static_cast<std::int32_t>(descriptorLength)));
}

std::int32_t HandOffWParamValue(std::string_view ownProcessIdText,
                                int descriptorLength) {
  return ToInteger(HandOffWParamDigits(ownProcessIdText, descriptorLength));
}

std::optional<HandOffWParam> ParseHandOffWParam(std::uint64_t wParam) {
  // The sender built a 32-bit number; a 64-bit wParam carries it in its low
  // half.
  const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam));
  if (value <= 0) return std::nullopt;
  const Text digits = ToText(value);
  const int idDigits = digits[0] - '0';
  if (idDigits < 1) return std::nullopt;
  const std::size_t idEnd = 1 + static_cast<std::size_t>(idDigits);
  // At least one digit must be left for the descriptor length.
  if (digits.size() <= idEnd) return std::nullopt;
  const auto id = ParseDecimal(std::string_view(digits).substr(1, idDigits));
  const auto length = ParseDecimal(std::string_view(digits).substr(idEnd));
  if (!id || !length || *id <= 0 || *length <= 0) return std::nullopt;
  return HandOffWParam{static_cast<std::uint32_t>(*id), static_cast<int>(*length)};
}

std::optional<HandOffDescriptor> ParseHandOffDescriptor(std::string_view text) {
  const std::size_t dollar = text.find('$');
  if (dollar == std::string_view::npos) return std::nullopt;
  const std::size_t ampersand = text.find('&', dollar + 1);
  if (ampersand == std::string_view::npos) return std::nullopt;
  const auto ack = ParseDecimal(text.substr(0, dollar));
  const auto length = ParseDecimal(text.substr(dollar + 1, ampersand - dollar - 1));
  const auto payload = ParseDecimal(text.substr(ampersand + 1));
  if (!ack || !length || !payload) return std::nullopt;
  if (*length < 0 || *length > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  const auto ackAddress = AddressFromNumber(*ack);
  const auto payloadAddress = AddressFromNumber(*payload);
  if (!ackAddress || !payloadAddress || *ackAddress == 0) return std::nullopt;
  if (*length > 0 && *payloadAddress == 0) return std::nullopt;
  return HandOffDescriptor{*ackAddress, static_cast<std::int32_t>(*length),
                           *payloadAddress};
}

}  // namespace lumigrab
