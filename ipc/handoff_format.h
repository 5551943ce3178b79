#pragma once
// The texts and numbers of a hand-off message, on both sides.
//
// A hand-off sends a registered window message whose wParam carries the
// sender's process id and the length of a descriptor, and whose lParam is
// the descriptor's address in the sender's memory. The descriptor reads
// "<ack address>$<payload length>&<payload address>" in decimal. The
// receiver reads the descriptor and the payload out of the sender and
// writes 0x02 into the acknowledgement byte.
//
// Nothing here calls Windows: both halves are tested on any platform.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/text.h"

namespace lumigrab {

// An address as the descriptor writes it. A 32-bit program writes it as a
// signed 32-bit number (so an address at or above 2 GiB reads negative);
// a 64-bit program writes the full 64-bit value.
Text DescriptorAddressText(std::uint64_t address,
                           std::size_t pointerSize = sizeof(void*));

// "<ack address>$<payload length>&<payload address>"; the payload address
// is 0 for an empty payload.
Text HandOffDescriptorText(std::uint64_t ackAddress, std::int32_t payloadLength,
                           std::uint64_t payloadAddress,
                           std::size_t pointerSize = sizeof(void*));

// The digits of wParam: the number of digits of the process id text, the
// process id text, the descriptor length. For id 3412 and 18 bytes:
// "4341218".
Text HandOffWParamDigits(std::string_view ownProcessIdText, int descriptorLength);

// wParam's value: the digits read as a 32-bit integer (ToInteger), so a
// number beyond 32 bits wraps around.
std::int32_t HandOffWParamValue(std::string_view ownProcessIdText,
                                int descriptorLength);

// What a receiver takes out of wParam.
struct HandOffWParam {
  std::uint32_t senderProcessId;
  int descriptorLength;
  bool operator==(const HandOffWParam&) const = default;
};

// Reads wParam's low 32 bits back into the process id and the descriptor
// length; nothing when the digits do not split that way (a zero or negative
// value, a digit count of 0, too few digits).
std::optional<HandOffWParam> ParseHandOffWParam(std::uint64_t wParam);

// What a receiver takes out of the descriptor. Addresses are the sender's:
// a negative number from a 32-bit sender is taken modulo 2^32.
struct HandOffDescriptor {
  std::uint64_t ackAddress;
  std::int32_t payloadLength;
  std::uint64_t payloadAddress;
  bool operator==(const HandOffDescriptor&) const = default;
};

// Strict: three decimal numbers (an optional leading '-', digits only)
// joined by '$' and '&', a payload length of 0 or more, a non-zero
// acknowledgement address, and a non-zero payload address unless the
// payload is empty. Anything else gives nothing.
std::optional<HandOffDescriptor> ParseHandOffDescriptor(std::string_view text);

}  // namespace lumigrab
