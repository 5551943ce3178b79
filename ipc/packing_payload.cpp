#include "ipc/packing_payload.h"

namespace lumigrab {

Bytes MakePackingPayload(const Text& folder, const Text& archivePath) {
  return TextToBytes(JoinTexts(folder, "|", archivePath));
}

std::optional<PackingRequest> SplitPackingPayload(const Bytes& payload) {
  const std::string_view text(reinterpret_cast<const char*>(payload.data()),
                              payload.size());
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  const int position = FindText(text, "|", kOmitted, false);
  if (position < 1) return std::nullopt;
  const auto bar = static_cast<std::size_t>(position - 1);
  if (bar == 0 || bar + 1 == text.size()) {
    return std::nullopt;
  }
  return PackingRequest{Text(text.substr(0, bar)), Text(text.substr(bar + 1))};
}

}  // namespace lumigrab
