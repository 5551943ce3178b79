#include <windows.h>

#include "base/files.h"
#include "base/process.h"
#include "export/completion.h"
#include "export/naming.h"
#include "ipc/handoff.h"
#include "ipc/packing_payload.h"
#include "ipc/process_lookup.h"

namespace lumigrab {
namespace {

void InteractiveCompletion(const Text& folder) {
  MessageBoxA(nullptr, "Export completed.", "mission accomplished",
              MB_OK | MB_ICONINFORMATION);
  (void)RunCommandLine(FileManagerCommand(folder));  // not checked
}

// Waits about a second while keeping the window's messages flowing.
void WaitASecond() {
  for (int i = 0; i < 20; ++i) {
    ProcessEvents();
    Delay(50);
  }
}

[[noreturn]] void PackingCompletion(const Text& folder, const Text& folderName) {
  const Text exeDir = ExeDir();
  const Text packingFolder = PackingFolderPath(exeDir);
  if (!IsFolder(packingFolder)) (void)EnsureFolder(packingFolder);
  const bool started = RunCommandLine(PackerPath(exeDir));
  const auto target = FindProgramWindow("zip.exe");
  (void)HandOffToWindow(target, "imgzip",
                        MakePackingPayload(folder, ArchivePath(exeDir, folderName)));
  // The program ends once the packer runs. A packer that is missing or
  // never shows up must not keep the program alive for ever: after a
  // bounded number of checks it ends all the same.
  for (int check = 0; started && check < kPackerChecks; ++check) {
    if (IsProcessRunning("zip.exe", false)) break;
    WaitASecond();
  }
  EndProgram(0);
}

}  // namespace

void CompleteExport(const Text& folder, const Text& folderName, bool packing) {
  if (packing) PackingCompletion(folder, folderName);
  InteractiveCompletion(folder);
}

bool IsProcessRunning(std::string_view name, bool caseSensitive) {
  return FindProcessWhere([&](std::string_view exeName) {
           return ProcessNameMatches(exeName, name, caseSensitive);
         }) != 0;
}

}  // namespace lumigrab
