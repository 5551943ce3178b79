#include "packer/archive_names.h"

#include <cstdint>

namespace lumigrab {
namespace {

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    int extra = 0;
    std::uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) return false;  // cut short
    for (int k = 1; k <= extra; ++k) {
      const auto t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      code = (code << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode.
    if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) ||
        (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
      return false;
    }
    i += 1 + static_cast<std::size_t>(extra);
  }
  return true;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<Text> ArchiveEntryName(std::string_view utf8FileName) {
  if (utf8FileName.empty() || utf8FileName == "." || utf8FileName == "..") {
    return std::nullopt;
  }
  for (const char c : utf8FileName) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || c == '/' || c == '\\' || c == ':') return std::nullopt;
  }
  if (!IsValidUtf8(utf8FileName)) return std::nullopt;
  return Text(utf8FileName);
}

bool IsDirectlyInsideFolder(std::string_view path, std::string_view folder) {
  if (folder.empty() || path.size() <= folder.size() + 1) return false;
  if (!EqualIgnoringAsciiCase(path.substr(0, folder.size()), folder)) return false;
  if (path[folder.size()] != '\\') return false;
  return ArchiveEntryName(path.substr(folder.size() + 1)).has_value();
}

}  // namespace lumigrab
