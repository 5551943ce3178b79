#include <windows.h>

#include <cstdint>

#include "ipc/handoff.h"

namespace lumigrab {
namespace {

// A descriptor is three numbers of at most 20 characters and two
// separators; anything longer is not one.
constexpr int kDescriptorLimit = 64;

// A sender's address that this build cannot reach (a 64-bit sender seen
// from a 32-bit receiver).
bool Addressable(std::uint64_t address) {
  return static_cast<std::uint64_t>(static_cast<std::uintptr_t>(address)) == address;
}

bool ReadSenderMemory(HANDLE process, std::uint64_t address, void* into,
                      std::size_t size) {
  if (size == 0) return true;
  if (!Addressable(address)) return false;
  SIZE_T got = 0;
  return ReadProcessMemory(process,
                           reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)),
                           into, size, &got) &&
         got == size;
}

// The sender's bytes, shown safely in a message: printable ASCII as it is,
// anything else as \xNN.
Text Printable(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  Text out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && c != '\\') {
      out.push_back(c);
    } else {
      out += "\\x";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0xF]);
    }
  }
  return out;
}

HandOffReadResult Failure(Text why) {
  HandOffReadResult result;
  result.failure = std::move(why);
  return result;
}

}  // namespace

HandOffReadResult ReadHandOff(WPARAM wParam, LPARAM lParam, std::size_t payloadLimit) {
  const auto parts = ParseHandOffWParam(static_cast<std::uint64_t>(wParam));
  if (!parts) {
    return Failure("wParam " + ToText(static_cast<std::int64_t>(wParam)) +
                   " does not hold a process id and a descriptor length");
  }
  if (parts->descriptorLength > kDescriptorLimit) {
    return Failure("descriptor length " + ToText(static_cast<std::int32_t>(parts->descriptorLength)) +
                   " is too long");
  }
  ReceivedHandOff handOff;
  handOff.senderProcessId = parts->senderProcessId;
  handOff.sender = UniqueHandle(
      OpenProcess(PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_VM_OPERATION |
                      PROCESS_QUERY_LIMITED_INFORMATION,
                  FALSE, parts->senderProcessId));
  const Text senderName = "sender " + ToText(static_cast<std::int64_t>(parts->senderProcessId));
  if (!handOff.sender) return Failure(senderName + " cannot be opened (gone?)");
  DWORD exitCode = 0;
  if (GetExitCodeProcess(handOff.sender.Get(), &exitCode) && exitCode != STILL_ACTIVE) {
    return Failure(senderName + " has ended");
  }

  handOff.descriptorText.resize(static_cast<std::size_t>(parts->descriptorLength));
  if (!ReadSenderMemory(handOff.sender.Get(),
                        static_cast<std::uint64_t>(static_cast<std::uintptr_t>(lParam)),
                        handOff.descriptorText.data(), handOff.descriptorText.size())) {
    return Failure("the descriptor cannot be read from " + senderName);
  }
  const auto descriptor = ParseHandOffDescriptor(handOff.descriptorText);
  if (!descriptor) {
    return Failure("malformed descriptor \"" + Printable(handOff.descriptorText) + "\"");
  }
  handOff.descriptor = *descriptor;
  if (static_cast<std::size_t>(descriptor->payloadLength) > payloadLimit) {
    return Failure("payload of " + ToText(descriptor->payloadLength) +
                   " bytes is larger than " +
                   ToText(static_cast<std::int64_t>(payloadLimit)));
  }
  handOff.payload.resize(static_cast<std::size_t>(descriptor->payloadLength));
  if (!ReadSenderMemory(handOff.sender.Get(), descriptor->payloadAddress,
                        handOff.payload.data(), handOff.payload.size())) {
    return Failure("the payload cannot be read from " + senderName);
  }
  HandOffReadResult result;
  result.handOff = std::move(handOff);
  return result;
}

bool AcknowledgeHandOff(const ReceivedHandOff& handOff) {
  if (!Addressable(handOff.descriptor.ackAddress)) return false;
  const std::uint8_t accepted = 0x02;
  SIZE_T written = 0;
  return WriteProcessMemory(
             handOff.sender.Get(),
             reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(handOff.descriptor.ackAddress)),
             &accepted, 1, &written) &&
         written == 1;
}

}  // namespace lumigrab
