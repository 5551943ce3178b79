#pragma once
// Handing a block of bytes to another program's window, and taking one
// from the sender's memory on the receiving side. The wire format is in
// handoff_format.h.

#include <windows.h>

#include <cstddef>
#include <optional>

#include "base/text.h"
#include "ipc/handoff_format.h"
#include "ipc/unique_handle.h"

namespace lumigrab {

// The decimal text of this process's id, made on the first hand-off (and
// again whenever it is empty or "0"), then kept.
const Text& OwnProcessIdText();
// Frees it at the end of the program.
void ReleaseOwnProcessIdText();

// Sends the payload under the key word to the window and waits until the
// receiver has handled it. True when the receiver wrote 0x02 into the
// acknowledgement byte. A target that is no window (0, -1, a stale handle),
// or a key word the system cannot register, gives false and nothing is
// sent. The payload is read by the receiver where it lies: it must not
// change until the call returns.
bool HandOffToWindow(HWND target, const Text& keyWord, const Bytes& payload);

// A hand-off as a receiver read it out of the sender.
struct ReceivedHandOff {
  DWORD senderProcessId = 0;
  Text descriptorText;
  HandOffDescriptor descriptor{};
  Bytes payload;
  UniqueHandle sender;  // open for reading and writing its memory
};

struct HandOffReadResult {
  std::optional<ReceivedHandOff> handOff;
  Text failure;  // why there is none, for a log
};

// On the registered message: takes the sender's id and the descriptor
// length from wParam, reads the descriptor at lParam and then the payload
// out of the sender's memory. A payload longer than payloadLimit is
// refused rather than read.
HandOffReadResult ReadHandOff(WPARAM wParam, LPARAM lParam,
                              std::size_t payloadLimit);

// Writes 0x02 into the sender's acknowledgement byte; true when written.
bool AcknowledgeHandOff(const ReceivedHandOff& handOff);

}  // namespace lumigrab
