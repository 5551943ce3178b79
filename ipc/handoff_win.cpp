#include <windows.h>

#include <limits>
#include <memory>

#include "ipc/handoff.h"
#include "ipc/process_lookup.h"

namespace lumigrab {
namespace {

Text g_ownProcessIdText;

std::uint64_t AddressOf(const void* pointer) {
  return reinterpret_cast<std::uintptr_t>(pointer);
}

}  // namespace

const Text& OwnProcessIdText() { return g_ownProcessIdText; }

void ReleaseOwnProcessIdText() { Text().swap(g_ownProcessIdText); }

bool HandOffToWindow(HWND target, const Text& keyWord, const Bytes& payload) {
  const UINT message = RegisterWindowMessageA(keyWord.c_str());
  if (g_ownProcessIdText.empty() || g_ownProcessIdText == "0") {
    g_ownProcessIdText = ToText(static_cast<std::int64_t>(GetCurrentProcessId()));
  }
  // 0 and -1 (no window, no such process) are no windows either; -1 is
  // also tested by value, since what IsWindow makes of it is not promised.
  const bool isWindow = IsWindow(target) != FALSE;
  if (!isWindow || target == NoSuchProcessWindow()) return false;
  // Registration fails only for an empty or overlong key word; sending
  // message 0 would reach the window as WM_NULL.
  if (message == 0) return false;
  // The descriptor states the length as a 32-bit number.
  if (payload.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return false;
  }

  // A fresh byte per call: a receiver that does not answer this time must
  // not find the 0x02 of an earlier hand-off.
  const auto ack = std::make_unique<std::uint8_t>(0x01);
  const Bytes descriptor = TextToBytes(HandOffDescriptorText(
      AddressOf(ack.get()), static_cast<std::int32_t>(payload.size()),
      payload.empty() ? 0 : AddressOf(payload.data())));
  // wParam holds the 32-bit number; a 64-bit build zero-extends it.
  const auto wParam = static_cast<WPARAM>(static_cast<std::uint32_t>(
      HandOffWParamValue(g_ownProcessIdText, static_cast<int>(descriptor.size()))));
  const auto lParam = static_cast<LPARAM>(AddressOf(descriptor.data()));

  // Blocks until the receiver's window procedure returns; its result means
  // nothing in this protocol, the acknowledgement byte does.
  (void)SendMessageA(target, message, wParam, lParam);

  // Written by another process behind the compiler's back.
  return *static_cast<volatile const std::uint8_t*>(ack.get()) == 0x02;
}

}  // namespace lumigrab
