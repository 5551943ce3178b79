#include <windows.h>
#include <shlwapi.h>

#include "export/naming.h"

namespace lumigrab {

bool EnsureFolder(const Text& path) {
  Text full = path;
  if (full.empty() || full.back() != '\\') full += '\\';
  // Folder by folder from the root. MakeSureDirectoryPathExists would split
  // the path at the trail byte 0x5C of a GBK character and make a stray
  // folder; FolderPrefixes steps over double-byte characters.
  const TextArray prefixes = FolderPrefixes(full);
  for (const Text& prefix : prefixes) {
    if (IsFolder(prefix)) continue;
    if (!CreateDirectoryA(prefix.c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
  }
  return IsFolder(full);
}

bool IsFolder(const Text& path) {
  return PathIsDirectoryA(path.c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}

Text TempFolderPath() {
  char buffer[MAX_PATH] = {};
  const DWORD n = GetTempPathA(MAX_PATH, buffer);
  if (n == 0 || n >= MAX_PATH) return {};
  Text path(buffer, n);
  if (path.back() != '\\') path += '\\';
  return path;
}

}  // namespace lumigrab
