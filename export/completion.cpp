#include "export/completion.h"

namespace lumigrab {

Text FileManagerCommand(std::string_view folder) {
  return JoinTexts("explorer.exe \"", folder, "\"");
}

bool ProcessNameMatches(std::string_view exeName, std::string_view name,
                        bool caseSensitive) {
  if (caseSensitive) return exeName == name;
  return ToLowerText(exeName) == ToLowerText(name);
}

}  // namespace lumigrab
