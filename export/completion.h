#pragma once
// The last step of an export: the completion message and the file manager,
// or the hand-off of the folder to the packer and the end of the program.

#include <string_view>

#include "base/text.h"

namespace lumigrab {

// With packing false: the box "Export completed." and the folder opened in
// the file manager. With packing true: starts ExeDir\zip.exe, hands it
// folder + "|" + ExeDir\temp\<folder name>.zip under "imgzip" and ends the
// program once a process named zip.exe runs.
void CompleteExport(const Text& folder, const Text& folderName, bool packing);

// Whether a running process has the executable file name (compared in
// ASCII lower case unless caseSensitive).
bool IsProcessRunning(std::string_view name, bool caseSensitive);

// Compares a process's executable file name with a name.
bool ProcessNameMatches(std::string_view exeName, std::string_view name,
                        bool caseSensitive);

// The file manager's command line for a folder.
Text FileManagerCommand(std::string_view folder);

// How many one-second checks the packing completion makes for the packer's
// process before it ends the program anyway.
inline constexpr int kPackerChecks = 30;

}  // namespace lumigrab
